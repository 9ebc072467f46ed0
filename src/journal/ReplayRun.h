// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "AmountTracker.h"
#include "Formato.h"
#include "JournalEntry.h"
#include "SessionState.h"
#include "TapeLines.h"

namespace dravello {

// A replay of the end of a journal from a snapshot, on an engine of its own: what undo, redo,
// correction and recovery compute before the window shows it. It holds copies of everything it
// reads, so it may run on a thread of its own while the window waits.
class ReplayRun {
 public:
  struct Input {
    SessionState from;                  // where the replay starts (from.entry commands run)
    std::vector<JournalEntry> entries;  // the journal from from.entry to its end
    std::size_t edit = 0;  // the first command (counted in the journal) that is new or moved
    TapeLines tape;        // the list before the change: its lines up to `from` are kept
    Separators separators;
    std::size_t snapshot_every = 256;
    // A correction: a command from `edit` on that shows a box where its `boxed` says it did not
    // refuses it, and its lines whose text differs from the line that stood at their place in
    // the list before are marked as corrected.
    bool correction = false;
  };
  struct Output {
    SessionState end;
    std::vector<JournalEntry> entries;      // from from.entry on, with what this run left
    std::vector<OperationLine> operations;  // the operation lines written from from.lines on
    std::vector<SessionState> snapshots;    // taken on the way, after every snapshot_every
    TapeLines tape;                         // the new list
    bool refused = false;                   // a correction that would fail where it did not
    std::size_t refused_entry = 0;
    std::string refusal;  // the text of the box it would show
    bool cancelled = false;
  };

  explicit ReplayRun(Input input) : in_(std::move(input)) {}

  // Replays. `done` counts the commands replayed; `cancel` set stops at the next command.
  void Run(std::atomic<std::size_t>& done, const std::atomic<bool>& cancel);
  void Run() {
    std::atomic<std::size_t> done{0};
    const std::atomic<bool> cancel{false};
    Run(done, cancel);
  }

  const Input& In() const { return in_; }
  Output& Out() { return out_; }

  // The state of a session that begins with `start`, as the window's start-up leaves it.
  static SessionState StartState(const JournalStart& start);

 private:
  // The lines from `first` to `end` (written numbers, of one command) whose text differs from
  // the line that had their number before, as bits from `first`.
  std::uint8_t ChangedLines(std::uint64_t first, std::uint64_t end) const;

  Input in_;
  Output out_;
};

}  // namespace dravello
