// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>

namespace dravello {

// A millisecond tick counter: an unsigned 32-bit count that wraps around from 2^32 - 1 to 0
// (about every 49.7 days). Elapsed times are differences taken modulo 2^32, so a wait that
// spans the wrap lasts as long as any other. Subclasses replace Now() to stand in for the clock.
class TickCounter {
 public:
  virtual ~TickCounter() = default;

  // Milliseconds since an arbitrary start, modulo 2^32. The system counter is monotonic.
  virtual std::uint32_t Now();

  // The counter that the program reads: the system one unless Install() put another in.
  static TickCounter& Current();
  // Makes `counter` (not owned) the one that Current() returns; nullptr restores the system
  // counter. For tests.
  static void Install(TickCounter* counter);

  // Whether more than `duration` milliseconds lie between the readings `start` and `now`. A
  // negative duration has always elapsed.
  static bool Elapsed(std::uint32_t start, std::uint32_t now, std::int32_t duration);

  // Reads a start, then until more than `duration` milliseconds have elapsed calls
  // `wait(remaining)`, where `remaining` (at least 1) is the number of milliseconds still to
  // go; `wait` should handle pending work and may block for up to `remaining` ms, and returns
  // false to end the wait early. A negative duration returns at once without calling `wait`.
  // Returns whether the whole duration passed.
  bool Wait(std::int32_t duration, const std::function<bool(std::uint32_t remaining)>& wait);
};

}  // namespace dravello
