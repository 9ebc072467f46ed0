// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalEntry.h"

#include <utility>

namespace dravello {

JournalEntry JournalEntry::Paste(std::string text) {
  auto payload = std::make_shared<JournalPayload>();
  payload->text = std::move(text);
  return {CommandKind::kPaste, '\0', 0, std::move(payload)};
}

JournalEntry JournalEntry::Table(const TTablaMonedas& table, std::string tape_line) {
  auto payload = std::make_shared<JournalPayload>();
  payload->table = table;
  payload->text = std::move(tape_line);
  return {CommandKind::kTable, '\0', 0, std::move(payload)};
}

bool JournalEntry::SameCommand(const JournalEntry& other) const {
  if (kind != other.kind || key != other.key || marks != other.marks) return false;
  switch (kind) {
    case CommandKind::kPaste:
      return payload->text == other.payload->text;
    case CommandKind::kTable:
      return SameTable(payload->table, other.payload->table) &&
             payload->text == other.payload->text;
    default:
      return true;
  }
}

bool SameTable(const TTablaMonedas& a, const TTablaMonedas& b) {
  for (std::size_t n = 0; n < a.size(); ++n) {
    // Rates compare exactly: a table is what the settings file gave, bit for bit.
    if (a[n].Moneda != b[n].Moneda || a[n].Decimales != b[n].Decimales ||
        !(a[n].Cambio == b[n].Cambio)) {
      return false;
    }
  }
  return true;
}

}  // namespace dravello
