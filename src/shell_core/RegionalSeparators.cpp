// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegionalSeparators.h"

#include <optional>

#include "Cp1252.h"

namespace dravello {
namespace {

constexpr char kNoBreakSpace = '\xA0';

// The single Windows-1252 byte of a one-character text; controls do not count.
std::optional<char> SingleByte(std::u32string_view text) {
  if (text.size() != 1 || text[0] < 0x20) return std::nullopt;
  return CodePointToCp1252(text[0]);
}

}  // namespace

Separators RegionalSeparators(std::u32string_view decimal, std::u32string_view thousands) {
  Separators result;
  const std::optional<char> group = SingleByte(thousands);
  result.thousands = group.value_or(kNoBreakSpace);
  const std::optional<char> point = SingleByte(decimal);
  if (point && *point != ' ' && *point != kNoBreakSpace) {
    result.decimal = *point;
  } else {
    result.decimal = result.thousands == '.' ? ',' : '.';
  }
  if (result.thousands == result.decimal) {
    result.thousands = result.decimal == '.' ? ',' : (result.decimal == ',' ? '.' : kNoBreakSpace);
  }
  return result;
}

}  // namespace dravello
