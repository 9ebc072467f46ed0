// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandQueue.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace dravello {
namespace {

// A flash that lets "events" in while it waits, as the event loop does.
struct Keyboard {
  CommandQueue queue;
  std::string done;
  std::function<void()> during_flash;

  void Flash() {
    queue.BeginWait();
    if (auto events = std::exchange(during_flash, nullptr)) events();
    queue.EndWait();
  }
  // A key whose button lights first and whose command follows, as a digit's.
  void Key(char ch) {
    queue.Run([this, ch] {
      Flash();
      done += ch;
    });
  }
};

TEST(CommandQueue, AKeyTypedDuringAFlashFollowsTheKeyBeforeIt) {
  Keyboard k;
  k.during_flash = [&] { k.Key('2'); };
  k.Key('1');
  EXPECT_EQ(k.done, "12");
  EXPECT_EQ(k.queue.Pending(), 0u);
}

TEST(CommandQueue, FastTypingKeepsTheOrderAndEveryKey) {
  Keyboard k;
  // Each flash lets the next key in, so every key arrives while the one before it waits.
  std::string typed = "123+45=";
  std::size_t next = 1;
  std::function<void()> arrive = [&] {
    if (next < typed.size()) {
      const char ch = typed[next++];
      k.during_flash = arrive;
      k.Key(ch);
    }
  };
  k.during_flash = arrive;
  k.Key(typed[0]);
  EXPECT_EQ(k.done, typed);
}

TEST(CommandQueue, SeveralKeysDuringOneFlashKeepTheirOrder) {
  Keyboard k;
  k.during_flash = [&] {
    k.Key('b');
    k.Key('c');
    k.Key('d');
  };
  k.Key('a');
  EXPECT_EQ(k.done, "abcd");
}

TEST(CommandQueue, WhatAnInputSetsOffDirectlyRunsInsideIt) {
  CommandQueue queue;
  std::string done;
  queue.Run([&] {
    done += "key ";
    queue.Run([&] { done += "click "; });  // the click its key causes
    done += "end";
  });
  EXPECT_EQ(done, "key click end");
}

TEST(CommandQueue, WithoutAFlashInputsRunAtOnce) {
  CommandQueue queue;
  int runs = 0;
  for (int i = 0; i < 3; ++i) {
    queue.Run([&] { ++runs; });
    EXPECT_EQ(runs, i + 1);
    EXPECT_FALSE(queue.Busy());
  }
}

TEST(CommandQueue, AFailingInputDoesNotBlockTheNextOnes) {
  CommandQueue queue;
  EXPECT_THROW(queue.Run([] { throw std::runtime_error("x"); }), std::runtime_error);
  EXPECT_FALSE(queue.Busy());
  bool ran = false;
  queue.Run([&] { ran = true; });
  EXPECT_TRUE(ran);
}

}  // namespace
}  // namespace dravello
