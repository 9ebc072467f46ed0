// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickCounter.h"

#include <gtest/gtest.h>

#include <vector>

namespace dravello {
namespace {

// A counter that stands still until the wait callback moves it.
class ManualCounter : public TickCounter {
 public:
  explicit ManualCounter(std::uint32_t start) : now(start) {}
  std::uint32_t Now() override {
    ++reads;
    return now;
  }
  std::uint32_t now;
  int reads = 0;
};

TEST(TickCounter, ElapsedIsStrictlyGreaterModuloTwoToThe32) {
  struct Case {
    std::uint32_t start, now;
    std::int32_t duration;
    bool elapsed;
  };
  const Case cases[] = {
      {1000, 1100, 100, false},
      {1000, 1101, 100, true},
      {1000, 1000, 0, false},
      {1000, 1001, 0, true},
      {0xFFFFFFF0u, 0x00000054u, 100, false},  // 100 ms across the wrap
      {0xFFFFFFF0u, 0x00000055u, 100, true},   // 101 ms across the wrap
      {0xFFFFFFFFu, 0u, 0, true},
      {5, 5, -1, true},
      {5, 5, INT32_MIN, true},
      {0, 0x7FFFFFFFu, 0x7FFFFFFF, false},
      {0, 0x80000000u, 0x7FFFFFFF, true},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(TickCounter::Elapsed(k.start, k.now, k.duration), k.elapsed)
        << k.start << " " << k.now << " " << k.duration;
  }
}

// Runs Wait(duration) on a counter starting at `start` that each wait call advances by `step`;
// returns the `remaining` values handed to the wait calls.
std::vector<std::uint32_t> Remainders(std::uint32_t start, std::int32_t duration,
                                      std::uint32_t step) {
  ManualCounter counter(start);
  std::vector<std::uint32_t> seen;
  EXPECT_TRUE(counter.Wait(duration, [&](std::uint32_t remaining) {
    seen.push_back(remaining);
    counter.now += step;
    return true;
  }));
  return seen;
}

TEST(TickCounter, WaitLastsUntilMoreThanTheDurationHasPassed) {
  EXPECT_EQ(Remainders(1000, 100, 40), (std::vector<std::uint32_t>{101, 61, 21}));
  EXPECT_EQ(Remainders(1000, 100, 1).size(), 101u);
  EXPECT_EQ(Remainders(1000, 0, 1), (std::vector<std::uint32_t>{1}));
  EXPECT_EQ(Remainders(1000, 100, 101), (std::vector<std::uint32_t>{101}));
}

TEST(TickCounter, WaitAcrossTheWrapLastsAsLongAsAnyOther) {
  for (std::uint32_t start : {0xFFFFFFFFu, 0xFFFFFFC0u, 0xFFFFFF9Cu, 0xFFFFFF9Bu}) {
    EXPECT_EQ(Remainders(start, 100, 7), Remainders(1000, 100, 7)) << start;
    EXPECT_EQ(Remainders(start, 100, 1).size(), 101u) << start;
  }
}

TEST(TickCounter, NegativeDurationReturnsWithoutWaitingOrReading) {
  ManualCounter counter(1000);
  int calls = 0;
  const auto count = [&](std::uint32_t) { return ++calls, true; };
  EXPECT_TRUE(counter.Wait(-1, count));
  EXPECT_TRUE(counter.Wait(INT32_MIN, count));
  EXPECT_EQ(calls, 0);
  EXPECT_EQ(counter.reads, 0);
}

TEST(TickCounter, WaitEndsEarlyWhenTheCallbackSaysSo) {
  ManualCounter counter(1000);
  int calls = 0;
  EXPECT_FALSE(counter.Wait(100, [&](std::uint32_t) { return ++calls < 3; }));
  EXPECT_EQ(calls, 3);
}

TEST(TickCounter, InstalledCounterReplacesTheSystemOne) {
  ManualCounter counter(42);
  TickCounter::Install(&counter);
  EXPECT_EQ(TickCounter::Current().Now(), 42u);
  TickCounter::Install(nullptr);
  EXPECT_NE(&TickCounter::Current(), &counter);
}

TEST(TickCounter, SystemCounterDoesNotRunBackwards) {
  TickCounter& system = TickCounter::Current();
  const std::uint32_t a = system.Now();
  const std::uint32_t b = system.Now();
  EXPECT_FALSE(TickCounter::Elapsed(a, b, 1000));  // b - a is small, not a wrap of 2^32
}

}  // namespace
}  // namespace dravello
