// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

#include "Formato.h"

namespace dravello {

// The calculator's separators from the user's locale, whose separators are Unicode texts.
// The calculator counts in single Windows-1252 bytes, so:
// - a separator of one character that has a Windows-1252 byte is taken as it is;
// - a thousands separator that is a blank without such a byte (the narrow no-break space of
//   French, the thin space) becomes the no-break space 0xA0, and any other unusable or missing
//   one the no-break space as well, which reads as a gap and is never typed;
// - an unusable decimal separator becomes '.', or ',' when '.' is the thousands separator;
// - the two never end up equal: the thousands separator then gives way.
Separators RegionalSeparators(std::u32string_view decimal, std::u32string_view thousands);

}  // namespace dravello
