// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "SaveProgress.h"

namespace dravello {

// A save running on a thread of its own, so that the window stays responsive however long the
// tape is. The work reports to a SaveProgress and watches it for a cancel; it must read only
// data that nothing else changes meanwhile (a TapeLines snapshot).
class TapeSaveJob {
 public:
  using Work = std::function<SaveResult(SaveProgress&)>;

  // Starts `work`. Throws std::system_error when no thread can be started.
  explicit TapeSaveJob(Work work);
  // Waits for the work to end: a save that was asked for and not cancelled is finished.
  ~TapeSaveJob();
  TapeSaveJob(const TapeSaveJob&) = delete;
  TapeSaveJob& operator=(const TapeSaveJob&) = delete;

  void Cancel() { progress_.cancel.store(true); }
  bool Finished() const { return finished_.load(std::memory_order_acquire); }
  std::size_t LinesDone() const { return progress_.done.load(std::memory_order_relaxed); }
  // How the work ended; only once Finished(). A work that threw counts as failed.
  const SaveResult& Result() const { return result_; }

 private:
  SaveProgress progress_;
  SaveResult result_;
  std::atomic<bool> finished_{false};
  std::thread thread_;  // last: started once everything it uses exists
};

}  // namespace dravello
