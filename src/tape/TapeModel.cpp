// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeModel.h"

#include <algorithm>
#include <climits>
#include <string>

#include "Cp1252.h"

namespace dravello {

TapeModel::TapeModel(QObject* parent) : QAbstractListModel(parent) {}

void TapeModel::Append(std::string_view line) {
  const std::size_t row = lines_.Count();
  if (row >= static_cast<std::size_t>(INT_MAX)) return;
  beginInsertRows(QModelIndex(), static_cast<int>(row), static_cast<int>(row));
  lines_.Append(line);
  endInsertRows();
}

bool TapeModel::HideAll() {
  if (lines_.Empty()) return false;
  beginResetModel();
  lines_.Hide(lines_.Written());
  endResetModel();
  return true;
}

void TapeModel::Replace(TapeLines lines, std::size_t unchanged) {
  // The separators and the rates' source belong to the window, not to a replay.
  lines.SetSeparators(lines_.LineSeparators());
  lines.SetRatesNote(lines_.RatesNote());
  if (lines.Hidden() != lines_.Hidden() || lines.Count() > static_cast<std::size_t>(INT_MAX)) {
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
    return;
  }
  unchanged = std::min({unchanged, lines_.Count(), lines.Count()});
  if (lines_.Count() > unchanged) {
    beginRemoveRows(QModelIndex(), static_cast<int>(unchanged),
                    static_cast<int>(lines_.Count() - 1));
    lines_.Truncate(lines_.Hidden() + unchanged);
    endRemoveRows();
  }
  if (lines.Count() > unchanged) {
    beginInsertRows(QModelIndex(), static_cast<int>(unchanged),
                    static_cast<int>(lines.Count() - 1));
    lines_ = std::move(lines);
    endInsertRows();
  } else {
    lines_ = std::move(lines);
  }
}

int TapeModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.Count());
}

QVariant TapeModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.model() != this || index.column() != 0 || index.row() < 0 ||
      static_cast<std::size_t>(index.row()) >= lines_.Count()) {
    return QVariant();
  }
  switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
      return TapeLineText(lines_.Line(static_cast<std::size_t>(index.row())));
    case Qt::AccessibleDescriptionRole:
      if (lines_.Corrected(static_cast<std::size_t>(index.row()))) {
        return QStringLiteral("corregida");
      }
      return QVariant();
    case Qt::ToolTipRole:
      if (lines_.Corrected(static_cast<std::size_t>(index.row()))) {
        return QStringLiteral("Línea corregida: su texto cambió al corregir una operación");
      }
      return QVariant();
    default:
      return QVariant();
  }
}

Qt::ItemFlags TapeModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QString TapeLineText(std::string_view bytes) {
  // Every Windows-1252 character lies in the Basic Multilingual Plane: one UTF-16 unit a byte.
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char byte : bytes) {
    *out++ = QChar(static_cast<char16_t>(Cp1252ToCodePoint(byte)));
  }
  return text;
}

}  // namespace dravello
