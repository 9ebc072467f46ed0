// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>

namespace dravello {

// What a save running on another thread shares with the window: how far it has got and
// whether the user has cancelled it.
struct SaveProgress {
  std::atomic<std::size_t> done{0};  // lines written so far
  std::atomic<bool> cancel{false};   // set by the window; the save stops at its next piece
};

// How a save ended. A save that did not end in kSaved has left the file as it was and no
// temporary file behind.
struct SaveResult {
  enum class Status { kSaved, kCancelled, kFailed };
  Status status = Status::kSaved;
  int error = 0;  // errno of the failure (kFailed)
};

}  // namespace dravello
