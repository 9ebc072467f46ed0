// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace dravello {

// A floating-point number in the general notation in which a rate is shown: at most 15
// significant digits (rounded to nearest), `decimal_separator`, no grouping, no trailing zeros
// ("1" for 1). Scientific form (mantissa, "E", exponent with "-" only when negative, no leading
// zeros: "1,5E-6", "1E20") for magnitudes below 0.00001 or with more than 15 integer digits.
// 0 gives "0"; infinities and NaN give "INF", "-INF" and "NAN".
std::string FormatoGeneral(double value, char decimal_separator);

}  // namespace dravello
