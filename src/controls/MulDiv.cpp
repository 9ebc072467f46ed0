// SPDX-License-Identifier: GPL-3.0-or-later
#include "MulDiv.h"

#include <limits>

namespace dravello {

std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = std::int64_t{a} * b;
  const bool negative = (product < 0) != (c < 0);
  // Magnitudes fit: |product| <= 2^62, |c| <= 2^31.
  const std::uint64_t num =
      product < 0 ? 0 - static_cast<std::uint64_t>(product) : static_cast<std::uint64_t>(product);
  const std::uint64_t den =
      c < 0 ? 0 - static_cast<std::uint64_t>(std::int64_t{c}) : static_cast<std::uint64_t>(c);
  std::uint64_t quotient = num / den;
  if ((num % den) * 2 >= den) ++quotient;
  const std::uint64_t limit =
      negative ? std::uint64_t{1} << 31
               : static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
  if (quotient > limit) return -1;
  return negative ? static_cast<std::int32_t>(0 - static_cast<std::int64_t>(quotient))
                  : static_cast<std::int32_t>(quotient);
}

}  // namespace dravello
