// SPDX-License-Identifier: GPL-3.0-or-later
#include "Currency.h"

#include <cmath>

namespace dravello {

namespace {

// 2^63 is exact in the extended type; every count lies in [-2^63, 2^63).
constexpr long double kTwoTo63 = 9223372036854775808.0L;

long double Ext(Currency c) {
  return static_cast<long double>(c.count);
}

}  // namespace

Currency RoundToCount(long double counts) {
  // nearbyintl rounds in the current mode, which this program never changes from
  // round-to-nearest-even.
  const long double r = std::nearbyintl(counts);
  if (!(r >= -kTwoTo63 && r < kTwoTo63)) throw EngineError(kInvalidOperation);
  return Currency{static_cast<std::int64_t>(r)};
}

Currency Add(Currency x, Currency y) {
  return RoundToCount(Ext(x) + Ext(y));
}

Currency Subtract(Currency x, Currency y) {
  return RoundToCount(Ext(x) - Ext(y));
}

Currency Multiply(Currency x, Currency y) {
  const long double product = Ext(x) * Ext(y);
  return RoundToCount(product / 10000.0L);
}

Currency Divide(Currency x, Currency y) {
  const long double quotient = Ext(x) / Ext(y);
  return RoundToCount(quotient * 10000.0L);
}

Currency Percent(Currency x, Currency y, int base) {
  const long double product = Ext(x) * Ext(y);
  const long double share = product / static_cast<long double>(base);
  return RoundToCount(share / 10000.0L);
}

Currency SquareRoot(Currency y) {
  if (y.count < 0) throw EngineError(kInvalidOperation);
  const long double value = Ext(y) / 10000.0L;
  return RoundToCount(std::sqrt(value) * 10000.0L);
}

Currency Square(Currency y) {
  const long double value = Ext(y) / 10000.0L;
  const long double squared = value * value;
  return RoundToCount(squared * 10000.0L);
}

Currency Half(Currency y) {
  return RoundToCount(Ext(y) / 2.0L);
}

Currency Negate(Currency y) {
  return RoundToCount(-Ext(y));
}

}  // namespace dravello
