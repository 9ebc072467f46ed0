// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

#include "ReplayRun.h"

namespace dravello {

// A replay on a thread of its own, so that a long one (a correction at the start of a long
// session, a recovery) leaves the window free to show its progress.
class ReplayJob {
 public:
  // Starts `run`, which must outlive the job. Throws std::system_error when no thread starts.
  explicit ReplayJob(ReplayRun& run);
  // Waits for the run to end.
  ~ReplayJob();
  ReplayJob(const ReplayJob&) = delete;
  ReplayJob& operator=(const ReplayJob&) = delete;

  void Cancel() { cancel_.store(true); }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  // Commands replayed so far.
  std::size_t Done() const { return done_.load(std::memory_order_relaxed); }

 private:
  std::atomic<std::size_t> done_{0};
  std::atomic<bool> cancel_{false};
  std::atomic<bool> finished_{false};
  std::thread thread_;  // last: started once everything it uses exists
};

}  // namespace dravello
