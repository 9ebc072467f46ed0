// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>

namespace dravello {

// a * b / c computed in 64 bits and rounded to the nearest integer, halves away from zero.
// Returns -1 when c is 0 or when the result does not fit in 32 bits (the rule of the Windows
// function of this name, on which the gradient bands of TGradBtn depend).
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace dravello
