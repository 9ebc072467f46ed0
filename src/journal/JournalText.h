// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "JournalEntry.h"

namespace dravello {

// The journal as text, which is also the input of dravello-replay: UTF-8, one character per
// key (its Windows-1252 byte; blanks and line ends are skipped) and these escapes:
//
//   \b  \\            the delete key, a backslash
//   @0 ... @6         a click on a currency button
//   \c                the copy button
//   \vN:TEXT          the paste button, TEXT being the N bytes of the clipboard's first line
//   \tN:TABLE         a new currency table ("Configurar")
//   \e                "Borrar la cinta"
//   \mK;              the lines the next command writes whose bit is set in K are corrected
//   \iN:START         what the session starts from; only as the first record
//
// TABLE is seven entries "DECIMALS RATE L:ABBREVIATION" joined by blanks (RATE in the shortest
// form that reads back as the same double, ABBREVIATION L bytes of UTF-8), and, when the change
// writes a line on the tape (an update of the rates), " L:LINE" after them; START is
// "VERSION DECIMAL THOUSANDS TABLE", the separators as the decimal codes of their
// Windows-1252 bytes. Every record ends where its last byte says, so a record cut short by a
// crash is told from a whole one.
inline constexpr int kJournalVersion = 1;

enum class JournalTextMode {
  kStrict,   // an incomplete record is bad input (dravello-replay's input)
  kTornEnd,  // an incomplete last record is a write cut short: it and what follows are dropped
};

struct JournalRead {
  std::optional<JournalStart> start;
  std::vector<JournalEntry> entries;
  std::size_t whole_bytes = 0;  // the bytes of the whole records read
  bool torn = false;            // kTornEnd: an incomplete last record was dropped
  bool newer = false;           // the start record is of a newer version than this program's
  std::size_t bad_at = 0;       // bad input: where the record it is in begins
};

// Reads `text`. Returns false, with `error` naming the byte position (from 1), for bad input:
// an escape or a payload that is not one of the above, a character that is not UTF-8 or has no
// Windows-1252 byte, a start record that is not the first, a mark not followed by a command.
bool ReadJournalText(std::string_view text, JournalTextMode mode, JournalRead& read,
                     std::string& error);

void AppendJournalStart(const JournalStart& start, std::string& out);
// An entry's command (and its marks); a key that the text cannot hold (a blank, '@') writes
// nothing: the driver ignores those keys.
void AppendJournalEntry(const JournalEntry& entry, std::string& out);

}  // namespace dravello
