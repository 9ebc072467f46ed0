// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayJob.h"

namespace dravello {

ReplayJob::ReplayJob(ReplayRun& run)
    : thread_([this, &run] {
        try {
          run.Run(done_, cancel_);
        } catch (...) {
          // Out of memory, most likely: the change is not made, as if cancelled.
          run.Out().cancelled = true;
        }
        finished_.store(true, std::memory_order_release);
      }) {}

ReplayJob::~ReplayJob() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace dravello
