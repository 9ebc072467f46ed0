// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Formato.h"
#include "TMoneda.h"

namespace dravello {

// What a command of the journal is: everything the user does that changes the calculator's
// state or its list, in the order given.
enum class CommandKind : std::uint8_t {
  kKey,        // one command character handed to the driver (a key or a keypad button)
  kClick,      // a click on a currency button (its tag)
  kPaste,      // the paste button, with the first line of the text it pasted
  kCopy,       // the copy button (a line on the tape; the next digit starts a new number)
  kTable,      // a new currency table after "Configurar", with the table that resulted
  kClearTape,  // "Borrar la cinta": the list empties, the calculator keeps its state
};

// The text of a paste or the table of a kTable, shared between the copies of an entry.
struct JournalPayload {
  std::string text;  // kPaste: UTF-8; kTable: the line it writes on the tape (Windows-1252)
  TTablaMonedas table{};
};

// One command of the journal, with what its last run left known about it.
struct JournalEntry {
  CommandKind kind = CommandKind::kKey;
  char key = '\0';  // kKey: the command character; kClick: the tag, 0 to 6
  // Bit k set: the k-th line this command writes is marked as corrected.
  std::uint8_t marks = 0;
  std::shared_ptr<const JournalPayload> payload;  // kPaste, kTable

  // Filled by every run of the command (live or replayed), never written to disk:
  bool boxed = false;            // it showed a message box
  std::uint64_t first_line = 0;  // lines written (in the whole session) before it

  static JournalEntry Key(char ch) { return {CommandKind::kKey, ch, 0, nullptr}; }
  static JournalEntry Click(int tag) {
    return {CommandKind::kClick, static_cast<char>(tag), 0, nullptr};
  }
  static JournalEntry Paste(std::string text);
  static JournalEntry Copy() { return {CommandKind::kCopy, '\0', 0, nullptr}; }
  // `tape_line`: what the change writes on the tape ("Cambios actualizados al …"), or nothing.
  static JournalEntry Table(const TTablaMonedas& table, std::string tape_line = {});
  static JournalEntry ClearTape() { return {CommandKind::kClearTape, '\0', 0, nullptr}; }

  // The same command (kind, key, payload and marks; not what a run left).
  bool SameCommand(const JournalEntry& other) const;
};

// What a session starts from: the regional separators and the currency table in force, so
// that a journal replays the same wherever and whenever it is read.
struct JournalStart {
  Separators separators;
  TTablaMonedas table{};
};

bool SameTable(const TTablaMonedas& a, const TTablaMonedas& b);

}  // namespace dravello
