// SPDX-License-Identifier: GPL-3.0-or-later
#include "MulDiv.h"

#include <gtest/gtest.h>

#include <climits>

namespace dravello {
namespace {

struct Case {
  std::int32_t a, b, c, expected;
};

TEST(MulDiv, RoundsToNearestWithHalvesAwayFromZero) {
  const Case cases[] = {
      {0, 5, 7, 0},   {6, 4, 3, 8},        {1, 1, 2, 1},   {1, 1, 3, 0},     {2, 1, 3, 1},
      {-1, 1, 2, -1}, {1, -1, 2, -1},      {1, 1, -2, -1}, {-1, -1, 2, 1},   {-1, 1, -2, 1},
      {3, -1, 2, -2}, {-3, -1, 2, 2},      {5, 1, -2, -3}, {-5, -1, -2, -3}, {-4, 1, 3, -1},
      {-5, 1, 3, -2}, {7, -255, 12, -149},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(MulDiv(k.a, k.b, k.c), k.expected) << k.a << " * " << k.b << " / " << k.c;
  }
}

TEST(MulDiv, DivisorZeroGivesMinusOne) {
  EXPECT_EQ(MulDiv(0, 0, 0), -1);
  EXPECT_EQ(MulDiv(10, 20, 0), -1);
  EXPECT_EQ(MulDiv(-10, 20, 0), -1);
}

TEST(MulDiv, ProductBeyondThirtyTwoBitsIsComputedExactly) {
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);
  EXPECT_EQ(MulDiv(INT_MIN, INT_MAX, INT_MAX), INT_MIN);
  EXPECT_EQ(MulDiv(1 << 20, 1 << 20, 1 << 12), 1 << 28);
  EXPECT_EQ(MulDiv(INT_MIN, -1, 2), 1 << 30);
}

TEST(MulDiv, QuotientOutsideThirtyTwoBitsGivesMinusOne) {
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, -1, 1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 1, -1), -1);
  EXPECT_EQ(MulDiv(INT_MIN, 1, 1), INT_MIN);
}

// The band arithmetic of the gradient button: band i of 255 from 0x80 to 0xFF.
TEST(MulDiv, GradientBandsStayBetweenTheirEnds) {
  for (int delta : {-255, -128, -1, 0, 1, 127, 255}) {
    for (int n : {1, 12, 155, 255}) {
      EXPECT_EQ(MulDiv(0, delta, n), 0);
      EXPECT_EQ(MulDiv(n, delta, n), delta);
      for (int i = 0; i <= n; ++i) {
        const int v = MulDiv(i, delta, n);
        EXPECT_LE(std::abs(v), std::abs(delta)) << i << " " << delta << " " << n;
        EXPECT_TRUE(v == 0 || (v < 0) == (delta < 0));
      }
    }
  }
}

}  // namespace
}  // namespace dravello
