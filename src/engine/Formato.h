// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

#include "Currency.h"

namespace dravello {

// The user's regional separators. Texts are single-byte (Windows-1252) throughout the engine.
struct Separators {
  char decimal = ',';
  char thousands = '.';
};

// The display mask "#,#0" followed by "." and `decimals` zeros: the integer part grouped by three
// with the thousands separator, then (for decimals > 0) the decimal separator and exactly
// `decimals` digits. The value is rounded once, halves away from zero, at the coarser of the
// `decimals`-th decimal and the 18th significant digit; places beyond that show as zeros. A value
// that rounds to zero has no minus sign. Negative `decimals` count as 0.
std::string FormatAmount(Currency value, int decimals, Separators separators);

// The plain, editable form: at most 15 significant digits (halves away from zero), no grouping,
// the decimal separator only when decimals remain, no trailing zeros, "-" for negative values.
std::string FormatPlain(Currency value, char decimal_separator);

// The exact value: every digit of the count, up to four decimals, no grouping, trailing zeros
// removed, the decimal separator only when decimals remain, "-" for negative values.
std::string FormatExact(Currency value, char decimal_separator);

enum class ParseStatus { kOk, kNotANumber, kOutOfRange };

// Reads a number as the calculator reads text: blanks around it skipped, an optional sign, digits
// with at most one `decimal_separator`, an optional exponent ("E" or "e", an optional sign and
// digits). The separator alone reads as 0; an empty text or a sign alone is not a number. No
// thousands separators, no "inf" or "nan". `value` is set only for kOk.
ParseStatus ParseExtended(std::string_view text, char decimal_separator, long double& value);

// Text to amount: ParseExtended, times 10000, rounded to the nearest count (ties to even).
// Throws EngineError with "'TEXT' is not a valid floating point value" for text that is not a
// number, and with kInvalidOperation when the amount does not fit.
Currency ParseAmount(std::string_view text, char decimal_separator);

}  // namespace dravello
