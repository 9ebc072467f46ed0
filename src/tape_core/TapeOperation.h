// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "Formato.h"

namespace dravello {

// One line of the operations list read back as an operation: its operands, its operator and
// its result, as a spreadsheet wants them. Numbers are the line's own digits in the regional
// notation without thousands separators ("1.234,50" gives "1234,50"); texts are
// Windows-1252 bytes.
struct TapeOperation {
  std::string operand1;
  std::string operator_;  // "+", "-", "*", "/", "%", "%%", "Raiz", "Elev2", "\xB1" (sign
                          // change), "Memo+", "Memo-"
  std::string operand2;   // empty for operations of one operand
  std::string result;

  // Reads `line`, written with `separators`. Operations are the arithmetic lines: the four
  // operations (halving is "X / 2 = Y"), per cent and per mille, root, square, sign change, and
  // adding to or subtracting from the accumulating memory. Every other line (a division by
  // zero, memory stores and recalls, clear and reset, currency switches, clipboard notes)
  // gives nothing.
  static std::optional<TapeOperation> Read(std::string_view line, Separators separators);
};

}  // namespace dravello
