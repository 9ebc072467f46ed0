// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormatoGeneral.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

namespace dravello {
namespace {

// The toolkit sets the C library's locale from the environment; the notation must not follow it.
// scripts/setup.sh generates these locales.
const char* const kLocales[] = {"C", "es_ES.UTF-8", "fr_FR.UTF-8"};

TEST(FormatoGeneral, FifteenSignificantDigitsFixedOrScientific) {
  const struct {
    double value;
    const char* expected;
  } cases[] = {
      {1, "1"},
      {0, "0"},
      {100, "100"},
      {166.386, "166,386"},
      {0.1 + 0.2, "0,3"},  // the 17th digit is not shown
      {1.0 / 3, "0,333333333333333"},
      {2.0 / 3, "0,666666666666667"},
      {-2.5, "-2,5"},
      {0.001, "0,001"},
      {0.00001, "0,00001"},  // the smallest fixed value
      {0.0000099, "9,9E-6"},
      {0.0000015, "1,5E-6"},
      {1e-300, "1E-300"},
      {4.9406564584124654e-324, "4,94065645841247E-324"},  // the smallest double
      {123456789012345, "123456789012345"},                // 15 integer digits: fixed
      {1234567890123456, "1,23456789012346E15"},           // 16: scientific
      {1e15, "1E15"},
      {999999999999999.9, "1E15"},  // rounds up to 16 integer digits
      {99999999999999.9, "99999999999999,9"},
      {99999999999999.99, "100000000000000"},  // 15 digits round it up
      {1e20, "1E20"},
      {-1e20, "-1E20"},
      {std::numeric_limits<double>::max(), "1,79769313486232E308"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {std::nan(""), "NAN"},
  };
  for (const char* locale : kLocales) {
    if (std::setlocale(LC_ALL, locale) == nullptr) {
      ADD_FAILURE() << "locale " << locale << " is missing (scripts/setup.sh generates it)";
      continue;
    }
    for (const auto& c : cases) {
      EXPECT_EQ(FormatoGeneral(c.value, ','), c.expected) << c.expected << " under " << locale;
    }
  }
  std::setlocale(LC_ALL, "C");
}

TEST(FormatoGeneral, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(FormatoGeneral(166.386, '.'), "166.386");
  EXPECT_EQ(FormatoGeneral(1.5e-6, '.'), "1.5E-6");
  EXPECT_EQ(FormatoGeneral(12, '.'), "12");
}

}  // namespace
}  // namespace dravello
