// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "Calculadora.h"

namespace dravello {

// The calculator's side of the clipboard buttons; the window moves the text to and from the
// system clipboard and the focus to the "=" button.

// Copy: returns the text for the clipboard, the exact display register (all its digits, up to
// four decimals, the regional decimal separator), appends "Copiado a ClipBoard " and the display
// text to the tape, and makes the next digit start a new number. No register changes.
std::string CopiaDisplay(Calculadora& calculadora);

// The longest first line, in bytes and without the blanks around it, that the paste reads:
// far more than any number needs. A longer one is not a number.
inline constexpr std::size_t kMaxPastedNumber = 1024;

// Paste: `text` is the clipboard's text (UTF-8). Up to its first line break it is read as a
// number in the regional notation: blanks around it; a sign ("+", "-" or the minus sign U+2212);
// integer digits, either ungrouped or grouped in threes by one kind of separator throughout (the
// regional thousands separator, a space, a no-break space U+00A0 or a narrow no-break space
// U+202F); at most one regional decimal separator; an optional exponent. So the display's own
// text ("-1.234,50") reads back as its value.
// A number goes to the display, the tape gets "Pegado Desde ClipBoard " and the display text,
// the value becomes an operand that the next digit replaces, and the result is true.
// Text that is not such a number (a first line longer than kMaxPastedNumber among them) changes
// nothing (display, registers, flags, tape) and gives false: the caller tells the user (the
// window beeps). A number beyond the range of amounts throws EngineError, also before anything
// changes.
bool PegaDisplay(Calculadora& calculadora, std::string_view text);

}  // namespace dravello
