// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <string>

// A field of the currency dialog: a single-line edit of Windows-1252 text.
//
// TypedMaxLength (0: no limit) limits only what the user types or pastes; a text that the
// program puts in with SetFieldText is shown whole, however long. The user cannot make a text
// longer than the limit, nor longer than it is while it exceeds the limit, but can always delete
// (a deletion from such a text cannot be undone).
// Characters that have no Windows-1252 byte, and control characters, cannot be typed or pasted,
// so the field always holds exactly what will be stored.
class FieldEdit : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(int TypedMaxLength READ TypedMaxLength WRITE SetTypedMaxLength)

 public:
  explicit FieldEdit(QWidget* parent = nullptr);

  int TypedMaxLength() const { return typed_max_length_; }
  void SetTypedMaxLength(int length);

  // The text as Windows-1252 bytes.
  std::string FieldText() const;
  // Shows `cp1252` whole; the undo history starts afresh.
  void SetFieldText(const std::string& cp1252);

 private:
  // The length that typing may reach now: the limit, or the current length when it is longer.
  void FitRoom();

  int typed_max_length_ = 0;
};
