// SPDX-License-Identifier: GPL-3.0-or-later
#include "Currency.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace dravello {
namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

Currency C(std::int64_t count) {
  return Currency::FromCount(count);
}

struct BinaryCase {
  const char* name;
  Currency (*op)(Currency, Currency);
  std::int64_t x, y, expected;
};

TEST(CurrencyArithmetic, ResultsRoundToTheNearestCountTiesToEven) {
  const BinaryCase cases[] = {
      {"1234,5 + 0,5", Add, 12345000, 5000, 12350000},
      {"10 / 4", Divide, 100000, 40000, 25000},
      {"1 / 3 keeps four decimals", Divide, 10000, 30000, 3333},
      {"2 / 3 rounds up", Divide, 20000, 30000, 6667},
      {"2 * 0,0001", Multiply, 20000, 1, 2},
      {"0,0001 * 0,5 ties to even (0)", Multiply, 1, 5000, 0},
      {"0,0003 * 0,5 ties to even (2)", Multiply, 3, 5000, 2},
      {"-0,0003 * 0,5 ties to even (-2)", Multiply, -3, 5000, -2},
      {"largest + 0", Add, kMax, 0, kMax},
      {"smallest - 0", Subtract, kMin, 0, kMin},
      {"lands exactly on the most negative count", Subtract, -kMax, 1, kMin},
      {"-1 / 3", Divide, -10000, 30000, -3333},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.op(C(c.x), C(c.y)).count, c.expected) << c.name;
  }
}

TEST(CurrencyArithmetic, PercentDividesByTheBaseThenByTenThousand) {
  EXPECT_EQ(Percent(C(2000000), C(150000), 100).count, 300000);    // 200 % 15 = 30
  EXPECT_EQ(Percent(C(20000000), C(150000), 1000).count, 300000);  // 2000 per mille 15 = 30
  EXPECT_EQ(Percent(C(10000), C(1), 100).count, 0);                // 1 % 0,0001 = 0,000001
  EXPECT_EQ(Percent(C(10000), C(5000), 100).count, 50);            // 1 % 0,5 = 0,005
}

TEST(CurrencyArithmetic, UnaryOperationsWorkOnTheValue) {
  EXPECT_EQ(SquareRoot(C(20000)).count, 14142);
  EXPECT_EQ(SquareRoot(C(0)).count, 0);
  EXPECT_EQ(Square(C(15000)).count, 22500);
  EXPECT_EQ(Square(C(-15000)).count, 22500);
  EXPECT_EQ(Half(C(50000)).count, 25000);
  EXPECT_EQ(Half(C(3)).count, 2);
  EXPECT_EQ(Half(C(1)).count, 0);
  EXPECT_EQ(Half(C(-3)).count, -2);
  EXPECT_EQ(Half(C(kMin)).count, kMin / 2);
  EXPECT_EQ(Negate(C(120000)).count, -120000);
  EXPECT_EQ(Negate(C(kMax)).count, -kMax);
}

TEST(CurrencyArithmetic, SquareBoundsOfTheRange) {
  EXPECT_EQ(Square(C(303700040000)).count, 9223371429600160000);
  EXPECT_THROW(Square(C(303700050000)), EngineError);
}

TEST(CurrencyArithmetic, ResultsOutsideTheRangeAreInvalidOperations) {
  struct Case {
    const char* name;
    Currency (*op)(Currency, Currency);
    std::int64_t x, y;
  } const cases[] = {
      {"largest + 0,0001", Add, kMax, 1},
      {"most negative - 0,0001", Subtract, kMin, 1},
      {"1 000 000 000 * 1 000 000", Multiply, 10000000000000, 10000000000},
      {"largest / 0,0001", Divide, kMax, 1},
      {"largest + largest", Add, kMax, kMax},
  };
  for (const auto& c : cases) {
    try {
      c.op(C(c.x), C(c.y));
      ADD_FAILURE() << c.name << " did not fail";
    } catch (const EngineError& e) {
      EXPECT_STREQ(e.what(), "Invalid floating point operation") << c.name;
    }
  }
  EXPECT_THROW(Negate(C(kMin)), EngineError);
  EXPECT_THROW(SquareRoot(C(-40000)), EngineError);
  EXPECT_THROW(SquareRoot(C(-1)), EngineError);
  EXPECT_THROW(Percent(C(kMax), C(kMax), 100), EngineError);
  EXPECT_THROW(RoundToCount(std::numeric_limits<long double>::quiet_NaN()), EngineError);
  EXPECT_THROW(RoundToCount(9223372036854775808.0L), EngineError);
  EXPECT_EQ(RoundToCount(-9223372036854775808.0L).count, kMin);
}

}  // namespace
}  // namespace dravello
