// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeSaveJob.h"

#include <cerrno>
#include <new>

namespace dravello {

TapeSaveJob::TapeSaveJob(Work work)
    : thread_([this, work = std::move(work)] {
        try {
          result_ = work(progress_);
        } catch (const std::bad_alloc&) {
          result_ = SaveResult{SaveResult::Status::kFailed, ENOMEM};
        } catch (...) {
          result_ = SaveResult{SaveResult::Status::kFailed, EIO};
        }
        finished_.store(true, std::memory_order_release);
      }) {}

TapeSaveJob::~TapeSaveJob() {
  if (thread_.joinable()) thread_.join();
}

}  // namespace dravello
