// SPDX-License-Identifier: GPL-3.0-or-later
#include "TickCounter.h"

#include <chrono>

namespace dravello {

namespace {

TickCounter* installed = nullptr;

}  // namespace

std::uint32_t TickCounter::Now() {
  const auto since = std::chrono::steady_clock::now().time_since_epoch();
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

TickCounter& TickCounter::Current() {
  static TickCounter system;
  return installed != nullptr ? *installed : system;
}

void TickCounter::Install(TickCounter* counter) {
  installed = counter;
}

bool TickCounter::Elapsed(std::uint32_t start, std::uint32_t now, std::int32_t duration) {
  const std::uint32_t elapsed = now - start;  // modulo 2^32
  return std::int64_t{elapsed} > std::int64_t{duration};
}

bool TickCounter::Wait(std::int32_t duration,
                       const std::function<bool(std::uint32_t remaining)>& wait) {
  if (duration < 0) return true;
  const std::uint32_t start = Now();
  for (;;) {
    const std::uint32_t now = Now();
    if (Elapsed(start, now, duration)) return true;
    // Time is up when the elapsed time reaches duration + 1.
    if (!wait(static_cast<std::uint32_t>(duration) - (now - start) + 1)) return false;
  }
}

}  // namespace dravello
