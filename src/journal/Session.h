// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AmountTracker.h"
#include "Calculadora.h"
#include "JournalEntry.h"
#include "JournalRunner.h"
#include "JournalText.h"
#include "Monedas.h"
#include "ReplayRun.h"
#include "SessionState.h"
#include "SessionView.h"
#include "TapeLines.h"

namespace dravello {

// The journal of the running session: every command that changed the calculator or its list,
// in order, and the state as their replay. The window hands each command to Run; undo, redo,
// correcting or taking out an amount and recovering a session are changes of the journal whose
// new state a ReplayRun computes (from the nearest snapshot, so that a change near the end
// replays only the end) and Commit puts in place.
//
// Undo takes back one step: a command, a correction, a removal. It never takes back a change of
// the currency table: that ends what can be undone (the settings file keeps the new table, and
// the calculator must not go on with another). Any new command or change clears what could be
// redone.
class Session {
 public:
  static constexpr std::size_t kSnapshotEvery = 256;

  // `view` is the one the engine and the currencies are bound to.
  Session(Calculadora& calculadora, Monedas& monedas, SessionView& view);

  // The list the commands write to, for reading (it changes through the view, and through
  // Commit's result); `clear` empties it ("Borrar la cinta") and says whether it held a line.
  void SetTape(const TapeLines* tape, std::function<bool()> clear);

  // Starts a new journal from the engine's state now, which `start` made.
  void Begin(const JournalStart& start);

  // A command of the user, run now on the engine. It is kept only when it changed something.
  CommandOutcome Run(const JournalEntry& command);

  bool CanUndo() const;
  bool CanRedo() const;
  // Undo stops at a change of the currency table (which it never takes back).
  bool UndoStopsAtTable() const;
  // The replay of an undo or a redo, to be run and committed; nothing when there is none.
  std::unique_ptr<ReplayRun> Undo();
  std::unique_ptr<ReplayRun> Redo();

  // What line `row` of the list (as shown) offers.
  struct LineInfo {
    bool operation = false;         // it shows an operation
    std::vector<Currency> amounts;  // its amounts that the user entered, in order
    bool removable = false;         // its operator and amount can be taken out
  };
  LineInfo DescribeLine(std::size_t row) const;
  // Replaces the amounts of line `row` that the user entered by `amounts` (texts in the
  // regional notation, one for each of LineInfo::amounts). Nothing when the amounts are the same
  // or when one is no amount the calculator could have been given (`error` says which).
  std::unique_ptr<ReplayRun> Correct(std::size_t row, const std::vector<std::string>& amounts,
                                     std::string& error);
  // Takes out the operator and the amount of line `row`.
  std::unique_ptr<ReplayRun> Remove(std::size_t row);
  // The session `journal` instead of this one (its own start, or this one's when it has none).
  std::unique_ptr<ReplayRun> Recover(const JournalRead& journal);

  // Puts the result of a finished run (not cancelled, not refused) in place: the journal, the
  // engine, the currencies and what the view shows; the window's list is given the returned
  // lines, of which the first `unchanged` rows are as they were.
  TapeLines Commit(ReplayRun& run, std::size_t& unchanged);
  // A prepared run that will not be committed.
  void Drop() { pending_ = Pending{}; }

  const JournalStart& Start() const { return start_; }
  const std::vector<JournalEntry>& Entries() const { return journal_; }
  // The line where command `entry`'s lines begin (or would), as a row of the list; negative
  // when hidden.
  std::int64_t RowOf(std::size_t entry) const;

  // The journal as text (its start record and its commands).
  std::string Text() const;

  // The journal on disk. TakeDiskWork gives what to write for it to hold the journal: a whole
  // text to replace it with, or a length to cut it to and bytes to append. DiskLost says the
  // disk does not hold what the works gave (a write failed, the file went): the next work is
  // the whole text.
  struct DiskWork {
    bool rewrite = false;
    std::uint64_t keep = 0;  // !rewrite: the bytes of the file to keep
    std::string bytes;       // the whole text, or what to append
  };
  bool DiskBehind() const;
  DiskWork TakeDiskWork();
  void DiskLost() { disk_rewrite_ = true; }

 private:
  struct Edit {
    std::size_t at = 0;
    std::vector<JournalEntry> before, after;  // the journal from `at` to its end
  };
  enum class StepKind : std::uint8_t { kAppend, kEdit };
  struct RedoStep {
    StepKind kind;
    JournalEntry entry;  // kAppend
    Edit edit;           // kEdit
  };
  struct Pending {
    enum class Kind { kNone, kUndo, kRedo, kEdit, kRecover } kind = Kind::kNone;
    std::size_t at = 0, removed = 0;
    JournalEntry entry;  // an undone command
    Edit edit;
    JournalStart start;  // kRecover
  };

  // The run that replaces `removed` commands at `at` by `added`.
  std::unique_ptr<ReplayRun> Prepare(std::size_t at, std::size_t removed,
                                     std::vector<JournalEntry> added, bool correction);
  // A correction or removal that replaces the commands from `at` to `end` by `added`.
  std::unique_ptr<ReplayRun> PrepareEdit(std::size_t at, std::size_t end,
                                         std::vector<JournalEntry> added);
  const OperationLine* FindOperation(std::size_t row) const;
  void Forget(std::size_t at);  // the disk's copy from command `at` on is no longer right

  Calculadora& calculadora_;
  Monedas& monedas_;
  SessionView& view_;
  const TapeLines* tape_ = nullptr;
  JournalRunner runner_;
  std::function<bool()> clear_tape_;

  JournalStart start_;
  std::vector<JournalEntry> journal_;
  std::vector<OperationLine> operations_;  // by line
  std::vector<SessionState> snapshots_;    // by entry; the first at 0

  std::vector<StepKind> undo_;
  std::vector<Edit> undo_edits_;  // one for each kEdit of undo_
  std::vector<RedoStep> redo_;
  Pending pending_;

  std::size_t disk_entries_ = 0;  // the commands the disk holds
  std::uint64_t disk_bytes_ = 0;  // the length of their text, the start record's included
  bool disk_rewrite_ = true;      // the disk holds nothing right yet
  bool disk_cut_ = false;         // the disk holds commands that were taken back
};

}  // namespace dravello
