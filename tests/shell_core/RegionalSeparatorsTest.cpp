// SPDX-License-Identifier: GPL-3.0-or-later
#include "RegionalSeparators.h"

#include <gtest/gtest.h>

namespace dravello {
namespace {

TEST(RegionalSeparators, FromTheLocaleToWindows1252) {
  const struct {
    const char* locale;
    std::u32string decimal;
    std::u32string thousands;
    char expected_decimal;
    char expected_thousands;
  } cases[] = {
      {"es_ES", U",", U".", ',', '.'},
      {"en_US", U".", U",", '.', ','},
      {"de_CH", U".", U"\u2019", '.', '\x92'},  // right single quotation mark: 0x92
      {"fr_FR", U",", U"\u202F", ',', '\xA0'},  // narrow no-break space: none in 1252
      {"pl_PL", U",", U"\u00A0", ',', '\xA0'},
      {"bg_BG", U",", U" ", ',', ' '},
      {"ar_EG", U"\u066B", U"\u066C", '.', '\xA0'},
      {"no group separator", U".", U"", '.', '\xA0'},
      {"both missing", U"", U"", '.', '\xA0'},
      {"same separator", U",", U",", ',', '.'},
      {"same point", U".", U".", '.', ','},
      {"group '.' and odd decimal", U"\u066B", U".", ',', '.'},
      {"control character", U"\t", U",", '.', ','},
      // A blank or a no-break space is never the decimal point, and the point never takes the
      // thousands separator's place.
      {"blank point, blank group", U" ", U" ", '.', ' '},
      {"no-break point and group", U"\u00A0", U"\u00A0", '.', '\xA0'},
      {"blank point, group '.'", U" ", U".", ',', '.'},
      {"no-break point, group ','", U"\u00A0", U",", '.', ','},
      {"narrow no-break point", U"\u202F", U"\u202F", '.', '\xA0'},
  };
  for (const auto& c : cases) {
    const Separators s = RegionalSeparators(c.decimal, c.thousands);
    EXPECT_EQ(s.decimal, c.expected_decimal) << c.locale;
    EXPECT_EQ(s.thousands, c.expected_thousands) << c.locale;
    EXPECT_NE(s.decimal, s.thousands) << c.locale;
  }
}

}  // namespace
}  // namespace dravello
