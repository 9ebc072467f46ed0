// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dravello {

// One input of a replay: a key (its Windows-1252 byte) or a click on a currency button.
struct ReplayInput {
  enum class Kind { kKey, kClick };
  Kind kind = Kind::kKey;
  char key = '\0';
  int tag = 0;
};

// Reads the UTF-8 key text of a replay: blanks (space, tab, CR, LF) are skipped, "\b" is
// backspace, "\\" a backslash, "@0".."@6" a currency click, every other character one key.
// Returns false with `error` naming the byte position (from 1) of the first bad input.
bool ReadReplayKeys(std::string_view text, std::vector<ReplayInput>& inputs, std::string& error);

}  // namespace dravello
