// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandQueue.h"

#include <utility>

namespace dravello {
namespace {

// Keeps the depth right even if an input throws.
class Depth {
 public:
  explicit Depth(int& depth) : depth_(depth) { ++depth_; }
  ~Depth() { --depth_; }
  Depth(const Depth&) = delete;
  Depth& operator=(const Depth&) = delete;

 private:
  int& depth_;
};

}  // namespace

void CommandQueue::Run(std::function<void()> input) {
  if (waits_ > 0) {
    queue_.push_back(std::move(input));
    return;
  }
  {
    Depth depth(depth_);
    input();
  }
  if (depth_ > 0) return;
  while (!queue_.empty()) {
    std::function<void()> next = std::move(queue_.front());
    queue_.pop_front();
    Depth depth(depth_);
    next();
  }
}

}  // namespace dravello
