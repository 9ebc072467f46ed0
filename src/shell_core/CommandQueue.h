// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <deque>
#include <functional>

namespace dravello {

// Keeps the commands of keys and clicks in the order the user gave them. A flash of a keypad
// button keeps the event loop running, so the next key can arrive while the previous key's
// handling waits in its flash; that key must neither overtake the previous one nor be lost.
//
// Run() carries out an input at once, unless a flash is running: then it is queued and carried
// out, with its own flash, after the inputs before it. What an input sets off directly (a
// button click that its key causes) runs at once, inside it.
class CommandQueue {
 public:
  // Carries out `input` now, or queues it while a flash is running (see above). When the
  // outermost input is done, carries out the queued ones in order, including those that arrive
  // meanwhile.
  void Run(std::function<void()> input);

  // Brackets a wait that keeps the event loop running (a flash).
  void BeginWait() { ++waits_; }
  void EndWait() { --waits_; }

  // True while an input is being carried out.
  bool Busy() const { return depth_ > 0; }
  std::size_t Pending() const { return queue_.size(); }

 private:
  std::deque<std::function<void()>> queue_;
  int waits_ = 0;
  int depth_ = 0;
};

}  // namespace dravello
