// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <compare>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace dravello {

// Every step of an amount's arithmetic runs in the x87 80-bit extended type.
static_assert(std::numeric_limits<long double>::digits == 64,
              "amounts are computed in 80-bit extended precision (64-bit significand)");

// A failure inside a command. The message is shown to the user followed by a full stop; the
// command that raised it stops at the failing step.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message of a result outside the range of Currency, and of the square root of a negative
// value.
inline constexpr const char* kInvalidOperation = "Invalid floating point operation";

// A fixed-point amount: a signed 64-bit count of ten-thousandths (the value 1234.5678 is the
// count 12345678).
struct Currency {
  std::int64_t count = 0;

  static constexpr Currency FromCount(std::int64_t c) { return Currency{c}; }
  friend constexpr auto operator<=>(Currency, Currency) = default;
};

inline constexpr std::int64_t kCountsPerUnit = 10000;

// Rounds an extended value to the nearest count, ties to even. Throws EngineError
// (kInvalidOperation) when the rounded value lies outside the signed 64-bit range or is not a
// number.
Currency RoundToCount(long double counts);

// The operations of the calculator, each in the exact order of its extended-precision steps.
// All of them throw EngineError(kInvalidOperation) when the result does not fit.
Currency Add(Currency x, Currency y);                // cX + cY
Currency Subtract(Currency x, Currency y);           // cX - cY
Currency Multiply(Currency x, Currency y);           // (cX * cY) / 10000
Currency Divide(Currency x, Currency y);             // (cX / cY) * 10000; y must not be zero
Currency Percent(Currency x, Currency y, int base);  // ((cX * cY) / base) / 10000
Currency SquareRoot(Currency y);                     // sqrt(cY / 10000) * 10000; fails for y < 0
Currency Square(Currency y);                         // (cY / 10000)^2 * 10000
Currency Half(Currency y);                           // cY / 2
Currency Negate(Currency y);                         // -cY; fails for the most negative count

}  // namespace dravello
