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

// Paste: `text` (Windows-1252) up to its first line break is read as a number in the regional
// notation; text that is not a number gives 0, silently. The value goes to the display, the tape
// gets "Pegado Desde ClipBoard " and the display text, and the value becomes an operand that the
// next digit replaces. A number beyond the range of amounts throws EngineError before anything
// changes.
void PegaDisplay(Calculadora& calculadora, std::string_view text);

}  // namespace dravello
