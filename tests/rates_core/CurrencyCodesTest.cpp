// SPDX-License-Identifier: GPL-3.0-or-later
#include "CurrencyCodes.h"

#include <gtest/gtest.h>

#include <string>

namespace dravello {
namespace {

TEST(CurrencyCode, AbbreviationsAsUsersWriteThem) {
  const struct {
    const char* abbreviation;  // Windows-1252
    const char* code;
  } cases[] = {
      // ISO codes, any case, blanks around them.
      {"USD", "USD"},
      {"usd", "USD"},
      {"cHf", "CHF"},
      {" SEK ", "SEK"},
      {"\tJPY", "JPY"},
      {"XYZ", "XYZ"},  // a code, whether a feed knows it or not
      // Everyday names and symbols.
      {"Eur", "EUR"},
      {"EUR", "EUR"},
      {"\x80", "EUR"},
      {"Dol", "USD"},
      {"DOL", "USD"},
      {"$", "USD"},
      {"Lib", "GBP"},
      {"Libra", "GBP"},
      {"libra", "GBP"},
      {"\xA3", "GBP"},
      {"Yen", "JPY"},
      {"\xA5", "JPY"},
      {"Pts", "ESP"},
      {"Pta", "ESP"},
      {"pts", "ESP"},
      {"ESP", "ESP"},
      {"dem", "DEM"},
      // Nothing a code could be.
      {"", ""},
      {"  ", ""},
      {"US", ""},
      {"Euro", ""},
      {"Libras", ""},
      {"U$D", ""},
      {"\xC1"
       "BC",
       ""},  // a letter outside ASCII
      {"\x80\x80", ""},
      {"$ $", ""},
      {"E R", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CurrencyCode(c.abbreviation), c.code) << "'" << c.abbreviation << "'";
  }
}

TEST(FixedEuroRate, TheEurosPredecessorsAndNothingElse) {
  const struct {
    const char* code;
    double rate;
  } fixed[] = {
      {"ESP", 166.386}, {"DEM", 1.95583},  {"FRF", 6.55957},  {"ITL", 1936.27},  {"NLG", 2.20371},
      {"BEF", 40.3399}, {"ATS", 13.7603},  {"PTE", 200.482},  {"IEP", 0.787564}, {"FIM", 5.94573},
      {"GRD", 340.75},  {"SIT", 239.64},   {"CYP", 0.585274}, {"MTL", 0.4293},   {"SKK", 30.126},
      {"EEK", 15.6466}, {"LVL", 0.702804}, {"LTL", 3.4528},   {"HRK", 7.5345},
  };
  for (const auto& f : fixed) EXPECT_EQ(FixedEuroRate(f.code), f.rate) << f.code;
  for (const char* code : {"EUR", "USD", "esp", "LUF", "BGN", ""}) {
    EXPECT_FALSE(FixedEuroRate(code).has_value()) << code;
  }
}

}  // namespace
}  // namespace dravello
