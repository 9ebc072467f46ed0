// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractListModel>
#include <string_view>

#include "TapeLines.h"

namespace dravello {

// The operations list as a one-column list model. Lines are kept as Windows-1252 bytes in a
// TapeLines store and turned into text only when a view asks for a row, so a long run costs
// little more than its text.
class TapeModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit TapeModel(QObject* parent = nullptr);

  // Adds `line` (Windows-1252 bytes) as the new last row. Views learn of the one new row
  // through rowsInserted. A model already at the largest row count a view can address
  // (INT_MAX rows) ignores further lines.
  void Append(std::string_view line);

  // The currency in which the lines appended from now on are written, with its rate and the
  // base's abbreviation (TapeLines::SetCurrency).
  void SetCurrency(std::string_view currency, std::string_view rate = {},
                   std::string_view base = {}) {
    lines_.SetCurrency(currency, rate, base);
  }
  // The separators the lines are written with (TapeLines::SetSeparators).
  void SetSeparators(Separators separators) { lines_.SetSeparators(separators); }
  // Where the rates came from, for the end of a kept tape (TapeLines::SetRatesNote).
  void SetRatesNote(std::string_view note) { lines_.SetRatesNote(note); }

  // The lines themselves, without Qt, for printing and saving.
  const TapeLines& Lines() const { return lines_; }

  // "Borrar la cinta": no row is shown any more (the lines stay written, hidden). False when
  // there was none.
  bool HideAll();
  // Shows `lines` instead, of which the first `unchanged` rows are the rows shown now: views
  // learn that the rows after those went and new ones came, or that everything changed when
  // the hidden lines are not the same.
  void Replace(TapeLines lines, std::size_t unchanged);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  // Qt::DisplayRole and Qt::AccessibleTextRole give the line as text; for a line changed by a
  // correction, Qt::AccessibleDescriptionRole gives "corregida" and Qt::ToolTipRole says so;
  // other roles give nothing.
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  TapeLines lines_;
};

// A line of Windows-1252 bytes as text.
QString TapeLineText(std::string_view bytes);

}  // namespace dravello
