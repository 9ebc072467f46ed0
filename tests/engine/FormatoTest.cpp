// SPDX-License-Identifier: GPL-3.0-or-later
#include "Formato.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

namespace dravello {
namespace {

constexpr Separators kSpanish{',', '.'};
constexpr Separators kEnglish{'.', ','};
constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(FormatAmount, DisplayMaskWithRegionalSeparators) {
  struct Case {
    std::int64_t count;
    int decimals;
    const char* expected;
  } const cases[] = {
      {12345678, 2, "1.234,57"},
      {12345678, 0, "1.235"},
      {12345678, 6, "1.234,567800"},
      {12345678, 4, "1.234,5678"},
      {-5000, 2, "-0,50"},
      {-40, 2, "0,00"},
      {-50, 2, "-0,01"},
      {50, 2, "0,01"},
      {0, 3, "0,000"},
      {5000, 0, "1"},
      {-5000, 0, "-1"},
      {4999, 0, "0"},
      {-4999, 0, "0"},
      {10000, 9, "1,000000000"},
      {10000, -3, "1"},
      {9999999, 2, "1.000,00"},
      {1234567890123450000, 2, "123.456.789.012.345,00"},
      {kMax, 2, "922.337.203.685.477,58"},
      {kMax, 4, "922.337.203.685.477,5810"},  // at most 18 significant digits
      {kMin, 4, "-922.337.203.685.477,5810"},
      {kMin, 0, "-922.337.203.685.478"},
      {1000000000000000000, 4, "100.000.000.000.000,0000"},
      {999999999999999995, 4, "99.999.999.999.999,9995"},
      {999999999999999995, 3, "100.000.000.000.000,000"},
      {1, 4, "0,0001"},
      {1, 5, "0,00010"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatAmount(Currency::FromCount(c.count), c.decimals, kSpanish), c.expected)
        << c.count << " with " << c.decimals << " decimals";
  }
}

TEST(FormatAmount, SeparatorsAreParameters) {
  EXPECT_EQ(FormatAmount(Currency::FromCount(12345678), 2, kEnglish), "1,234.57");
  EXPECT_EQ(FormatAmount(Currency::FromCount(12345678900), 1, Separators{',', ' '}), "1 234 567,9");
  EXPECT_EQ(FormatAmount(Currency::FromCount(1230000), 0, kEnglish), "123");
}

TEST(FormatPlain, FifteenSignificantDigitsWithoutGrouping) {
  struct Case {
    std::int64_t count;
    const char* expected;
  } const cases[] = {
      {0, "0"},
      {12345000, "1234,5"},
      {-12345000, "-1234,5"},
      {10000, "1"},
      {1, "0,0001"},
      {-1, "-0,0001"},
      {15000, "1,5"},
      {1234567890123456, "123456789012,346"},
      {-1234567890123456, "-123456789012,346"},
      {kMax, "922337203685478"},
      {kMin, "-922337203685478"},
      {9999999999999999, "1000000000000"},
      {1234567890123449, "123456789012,345"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatPlain(Currency::FromCount(c.count), ','), c.expected) << c.count;
  }
  EXPECT_EQ(FormatPlain(Currency::FromCount(12345000), '.'), "1234.5");
}

TEST(ParseAmount, ReadsTheRegionalNotation) {
  struct Case {
    const char* text;
    std::int64_t expected;
  } const cases[] = {
      {"0", 0},
      {",", 0},
      {"-,", 0},
      {"1234,5", 12345000},
      {"  -12,5  ", -125000},
      {"+3", 30000},
      {"0,00005", 0},  // ties to even
      {"0,00015", 2},  // ties to even
      {"0,00025", 2},
      {"0,000251", 3},
      {"1E3", 10000000},
      {"1e-4", 1},
      {"2,5e+2", 2500000},
      {"1e-99999", 0},
      {",5", 5000},
      {"5,", 50000},
      {"922337203685477,5807", kMax},
      {"-922337203685477,5808", kMin},
      {"\t7\n", 70000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseAmount(c.text, ',').count, c.expected) << c.text;
  }
  EXPECT_EQ(ParseAmount("1.5", '.').count, 15000);
}

TEST(ParseAmount, TextThatIsNotANumberNamesItself) {
  const char* const cases[] = {"",        "-",   "+",   " ",    "abc",   "1,2,3", "1.5",
                               "1.234,5", "inf", "nan", "-inf", "1e",    "1e+",   "e5",
                               "0x10",    "1 2", "--1", "½",    "1,5 €", "12a"};
  for (const char* text : cases) {
    try {
      ParseAmount(text, ',');
      ADD_FAILURE() << "'" << text << "' was read as a number";
    } catch (const EngineError& e) {
      EXPECT_EQ(std::string(e.what()),
                "'" + std::string(text) + "' is not a valid floating point value");
    }
  }
}

TEST(ParseAmount, NumbersBeyondTheRangeAreInvalidOperations) {
  const char* const cases[] = {"922337203685477,5808", "999999999999999", "1e5000", "-1e19",
                               "1E99999999999999999999"};
  for (const char* text : cases) {
    try {
      ParseAmount(text, ',');
      ADD_FAILURE() << text << " was read";
    } catch (const EngineError& e) {
      EXPECT_STREQ(e.what(), "Invalid floating point operation") << text;
    }
  }
}

TEST(ParseExtended, LongTextsAndOddBytesAreHandled) {
  long double value = 0;
  EXPECT_EQ(ParseExtended(std::string(4000, '1'), ',', value), ParseStatus::kOk);
  EXPECT_EQ(ParseExtended("1" + std::string(4000, '0') + ",5", ',', value), ParseStatus::kOk);
  EXPECT_EQ(ParseExtended("1" + std::string(6000, '0'), ',', value), ParseStatus::kOutOfRange);
  EXPECT_EQ(ParseExtended(std::string("1\0", 2), ',', value), ParseStatus::kNotANumber);
  EXPECT_EQ(ParseExtended("\xFF", ',', value), ParseStatus::kNotANumber);
  EXPECT_EQ(ParseExtended("1e400", ',', value), ParseStatus::kOk);
  EXPECT_EQ(ParseExtended("1e5000", ',', value), ParseStatus::kOutOfRange);
}

// A number too small for the extended type rounds to 0, however it is written; only one too
// large is out of range.
TEST(ParseExtended, AnUnderflowIsZeroAndOnlyAnOverflowIsOutOfRange) {
  const std::string zeros(4950, '0');
  long double value = 1;
  EXPECT_EQ(ParseExtended("-0," + zeros + "1", ',', value), ParseStatus::kOk);
  EXPECT_EQ(value, 0);
  EXPECT_EQ(ParseExtended("1" + zeros + zeros + "e-10", ',', value), ParseStatus::kOutOfRange);
  EXPECT_EQ(ParseExtended("0," + zeros + "1e+9999", ',', value), ParseStatus::kOutOfRange);
}

}  // namespace
}  // namespace dravello
