// SPDX-License-Identifier: GPL-3.0-or-later
#include "FieldEdit.h"

#include <QValidator>
#include <algorithm>

#include "Cp1252.h"

namespace {

// QLineEdit's own ceiling, which also stands for "no limit".
constexpr int kNoLimit = 32767;

// Accepts texts whose every character has a Windows-1252 byte and is not a control character.
class Cp1252Validator : public QValidator {
 public:
  using QValidator::QValidator;

  State validate(QString& input, int&) const override {
    for (const char32_t code_point : input.toUcs4()) {
      if (code_point < 0x20 || code_point == 0x7F || !dravello::CodePointToCp1252(code_point)) {
        return Invalid;
      }
    }
    return Acceptable;
  }
};

}  // namespace

FieldEdit::FieldEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new Cp1252Validator(this));
  // Every change of the text, typed, undone or set, moves the ceiling with it.
  connect(this, &QLineEdit::textChanged, this, &FieldEdit::FitRoom);
  FitRoom();
}

void FieldEdit::SetTypedMaxLength(int length) {
  if (length == typed_max_length_) return;
  typed_max_length_ = std::clamp(length, 0, kNoLimit);
  FitRoom();
}

std::string FieldEdit::FieldText() const {
  // The validator keeps other characters out of what the user types; any that the program put
  // in stand as '?', as a Windows edit gives them.
  return dravello::Utf8ToCp1252Lossy(text().toStdString(), '?');
}

void FieldEdit::SetFieldText(const std::string& cp1252) {
  // Room first: QLineEdit cuts a text to its maximum length.
  setMaxLength(kNoLimit);
  setText(QString::fromStdString(dravello::Cp1252ToUtf8(cp1252)));
  FitRoom();
  // A text longer than the field shows its beginning.
  setCursorPosition(0);
}

void FieldEdit::FitRoom() {
  const int length = static_cast<int>(text().size());
  const int room = typed_max_length_ == 0 ? kNoLimit : std::max(typed_max_length_, length);
  if (maxLength() != room) setMaxLength(room);
}
