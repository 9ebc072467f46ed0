// SPDX-License-Identifier: GPL-3.0-or-later
#include "Session.h"

#include <algorithm>
#include <utility>

#include "Cp1252.h"

namespace dravello {

namespace {

constexpr std::size_t kMaxTyped = 15;  // characters a number takes when typed

// The commands that give `text` (an amount as the user writes it) as the commands that began
// with `original` gave theirs: typed keys (digits, the decimal key, and the sign key for a
// negative amount), or a paste of the amount when they were a paste (`signed_by_key`: with the
// sign key after it). Nothing, with `error`, when the text is no amount that can be typed.
std::optional<std::vector<JournalEntry>> AmountCommands(const std::string& utf8,
                                                        const JournalEntry& original,
                                                        bool signed_by_key, char decimal,
                                                        std::string& error) {
  const std::string shown = "\xAB" + Utf8ToCp1252Lossy(utf8, '?') + "\xBB";
  std::string text = utf8;
  // The minus sign U+2212 as a hyphen; blanks around the amount are no part of it.
  for (std::size_t at; (at = text.find("\xE2\x88\x92")) != std::string::npos;) {
    text.replace(at, 3, "-");
  }
  const std::size_t begin = text.find_first_not_of(" \t");
  const std::size_t end = text.find_last_not_of(" \t");
  text = begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.erase(0, 1);
  std::size_t digits = 0, separators = 0;
  for (const char c : text) {
    if (c >= '0' && c <= '9') {
      ++digits;
    } else if (c == ',' || c == '.') {
      ++separators;
    } else {
      digits = 0;
      break;
    }
  }
  if (digits == 0 || separators > 1) {
    error = shown + " no es un importe.";
    return std::nullopt;
  }
  if (text.size() > kMaxTyped) {
    error = shown + " tiene m\xE1s de 15 cifras.";
    return std::nullopt;
  }
  // A negative amount is typed with the sign key after it; a pasted one keeps its sign key
  // if it had one.
  std::vector<JournalEntry> commands;
  const bool sign_key = negative && (original.kind != CommandKind::kPaste || signed_by_key);
  if (original.kind == CommandKind::kPaste) {
    std::string paste = negative && !sign_key ? "-" : "";
    for (const char c : text) paste += c == ',' || c == '.' ? decimal : c;
    commands.push_back(JournalEntry::Paste(Cp1252ToUtf8(paste)));
  } else {
    for (const char c : text) commands.push_back(JournalEntry::Key(c == '.' ? ',' : c));
  }
  if (sign_key) commands.push_back(JournalEntry::Key('S'));
  return commands;
}

}  // namespace

Session::Session(Calculadora& calculadora, Monedas& monedas, SessionView& view)
    : calculadora_(calculadora),
      monedas_(monedas),
      view_(view),
      runner_(
          calculadora, monedas, view, [this] { return clear_tape_ ? clear_tape_() : false; },
          true) {}

void Session::SetTape(const TapeLines* tape, std::function<bool()> clear) {
  tape_ = tape;
  clear_tape_ = std::move(clear);
}

void Session::Begin(const JournalStart& start) {
  start_ = start;
  journal_.clear();
  operations_.clear();
  snapshots_.clear();
  undo_.clear();
  undo_edits_.clear();
  redo_.clear();
  pending_ = Pending{};
  runner_.Amounts() = AmountTracker();
  runner_.SetHidden(tape_ != nullptr ? tape_->Hidden() : 0);
  // The equivalences start empty, and are first filled by the next display change.
  runner_.SetShown(std::nullopt);
  snapshots_.push_back(SessionState::Capture(0, calculadora_, monedas_, view_, runner_));
  disk_entries_ = 0;
  disk_bytes_ = 0;
  disk_rewrite_ = true;
  disk_cut_ = false;
}

CommandOutcome Session::Run(const JournalEntry& command) {
  JournalEntry entry = command;
  entry.marks = 0;
  const std::size_t index = journal_.size();
  const JournalRunner::Step step =
      runner_.Run(entry, static_cast<std::uint32_t>(index), operations_);
  if (!step.changed) return step.outcome;
  journal_.push_back(std::move(entry));
  undo_.push_back(StepKind::kAppend);
  redo_.clear();
  if (journal_.size() % kSnapshotEvery == 0) {
    snapshots_.push_back(
        SessionState::Capture(journal_.size(), calculadora_, monedas_, view_, runner_));
  }
  return step.outcome;
}

// --- Undo and redo ----------------------------------------------------------------------------

bool Session::CanUndo() const {
  return !undo_.empty() && !UndoStopsAtTable();
}

bool Session::UndoStopsAtTable() const {
  // A change of the currency table is not taken back, nor anything before it.
  return !undo_.empty() && undo_.back() == StepKind::kAppend &&
         journal_.back().kind == CommandKind::kTable;
}

bool Session::CanRedo() const {
  return !redo_.empty();
}

std::unique_ptr<ReplayRun> Session::Undo() {
  if (!CanUndo()) return nullptr;
  if (undo_.back() == StepKind::kAppend) {
    JournalEntry entry = journal_.back();
    auto run = Prepare(journal_.size() - 1, 1, {}, false);
    pending_.kind = Pending::Kind::kUndo;
    pending_.entry = std::move(entry);
    return run;
  }
  const Edit& edit = undo_edits_.back();
  auto run = Prepare(edit.at, journal_.size() - edit.at, edit.before, false);
  pending_.kind = Pending::Kind::kUndo;
  return run;
}

std::unique_ptr<ReplayRun> Session::Redo() {
  if (redo_.empty()) return nullptr;
  const RedoStep& redo = redo_.back();
  std::unique_ptr<ReplayRun> run;
  if (redo.kind == StepKind::kAppend) {
    run = Prepare(journal_.size(), 0, {redo.entry}, false);
  } else {
    run = Prepare(redo.edit.at, journal_.size() - redo.edit.at, redo.edit.after, false);
  }
  pending_.kind = Pending::Kind::kRedo;
  return run;
}

// --- Correction and removal -------------------------------------------------------------------

const OperationLine* Session::FindOperation(std::size_t row) const {
  const std::uint64_t line = runner_.Hidden() + row;
  const auto found =
      std::lower_bound(operations_.begin(), operations_.end(), line,
                       [](const OperationLine& op, std::uint64_t l) { return op.line < l; });
  return found != operations_.end() && found->line == line ? &*found : nullptr;
}

Session::LineInfo Session::DescribeLine(std::size_t row) const {
  LineInfo info;
  const OperationLine* op = FindOperation(row);
  if (op == nullptr) return info;
  info.operation = true;
  if (op->a.Entered()) info.amounts.push_back(op->a.value);
  if (op->binary && op->b.Entered()) info.amounts.push_back(op->b.value);
  const EnteredAmount& amount = op->binary ? op->b : op->a;
  info.removable = amount.Entered() && op->operator_entry != kNoEntry;
  return info;
}

std::unique_ptr<ReplayRun> Session::Correct(std::size_t row,
                                            const std::vector<std::string>& amounts,
                                            std::string& error) {
  error.clear();
  const OperationLine* op = FindOperation(row);
  if (op == nullptr) return nullptr;
  std::vector<const EnteredAmount*> entered;
  if (op->a.Entered()) entered.push_back(&op->a);
  if (op->binary && op->b.Entered()) entered.push_back(&op->b);
  if (entered.empty() || amounts.size() != entered.size()) return nullptr;

  const std::size_t at = entered.front()->first;
  const std::size_t end = entered.back()->last + 1;
  std::vector<JournalEntry> added;
  std::size_t next = at;
  for (std::size_t i = 0; i < entered.size(); ++i) {
    const EnteredAmount& amount = *entered[i];
    for (; next < amount.first; ++next) added.push_back(journal_[next]);
    bool signed_by_key = false;
    for (std::size_t j = amount.first; j <= amount.last; ++j) {
      signed_by_key =
          signed_by_key || (journal_[j].kind == CommandKind::kKey && journal_[j].key == 'S');
    }
    auto commands = AmountCommands(amounts[i], journal_[amount.first], signed_by_key,
                                   calculadora_.Separadores().decimal, error);
    if (!commands) return nullptr;
    bool boxed = false;  // what the old amount showed, its new one may show too
    for (std::size_t j = amount.first; j <= amount.last; ++j) boxed = boxed || journal_[j].boxed;
    for (JournalEntry& command : *commands) {
      command.boxed = boxed;
      added.push_back(std::move(command));
    }
    next = amount.last + 1;
  }
  const bool same =
      added.size() == end - at &&
      std::equal(added.begin(), added.end(), journal_.begin() + at,
                 [](const JournalEntry& a, const JournalEntry& b) { return a.SameCommand(b); });
  if (same) return nullptr;
  return PrepareEdit(at, end, std::move(added));
}

std::unique_ptr<ReplayRun> Session::Remove(std::size_t row) {
  const OperationLine* op = FindOperation(row);
  if (op == nullptr) return nullptr;
  const EnteredAmount& amount = op->binary ? op->b : op->a;
  if (!amount.Entered() || op->operator_entry == kNoEntry) return nullptr;
  const std::size_t at = std::min<std::size_t>(amount.first, op->operator_entry);
  const std::size_t end = std::max<std::size_t>(amount.last, op->operator_entry) + 1;
  std::vector<JournalEntry> added;
  for (std::size_t j = at; j < end; ++j) {
    if (j != op->operator_entry && (j < amount.first || j > amount.last)) {
      added.push_back(journal_[j]);
    }
  }
  return PrepareEdit(at, end, std::move(added));
}

std::unique_ptr<ReplayRun> Session::PrepareEdit(std::size_t at, std::size_t end,
                                                std::vector<JournalEntry> added) {
  auto run = Prepare(at, end - at, std::move(added), true);
  pending_.kind = Pending::Kind::kEdit;
  pending_.edit.at = at;  // its commands before and after are taken at the commit
  return run;
}

// --- Recovery ---------------------------------------------------------------------------------

std::unique_ptr<ReplayRun> Session::Recover(const JournalRead& journal) {
  JournalStart start = journal.start ? *journal.start : start_;
  // The engine reads and writes numbers with the separators of now.
  start.separators = calculadora_.Separadores();
  ReplayRun::Input in;
  in.from = ReplayRun::StartState(start);
  in.entries = journal.entries;
  in.separators = start.separators;
  in.snapshot_every = kSnapshotEvery;
  pending_ = Pending{};
  pending_.kind = Pending::Kind::kRecover;
  pending_.removed = journal_.size();
  pending_.start = start;
  return std::make_unique<ReplayRun>(std::move(in));
}

// --- Replays ----------------------------------------------------------------------------------

std::unique_ptr<ReplayRun> Session::Prepare(std::size_t at, std::size_t removed,
                                            std::vector<JournalEntry> added, bool correction) {
  // The last snapshot at or before the first command that changes.
  const auto after =
      std::upper_bound(snapshots_.begin(), snapshots_.end(), at,
                       [](std::size_t entry, const SessionState& s) { return entry < s.entry; });
  const SessionState& from = *std::prev(after);

  ReplayRun::Input in;
  in.from = from;
  const std::size_t tail = at + removed;
  in.entries.reserve(at - from.entry + added.size() + (journal_.size() - tail));
  in.entries.insert(in.entries.end(), journal_.begin() + static_cast<std::ptrdiff_t>(from.entry),
                    journal_.begin() + static_cast<std::ptrdiff_t>(at));
  in.entries.insert(in.entries.end(), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
  in.entries.insert(in.entries.end(), journal_.begin() + static_cast<std::ptrdiff_t>(tail),
                    journal_.end());
  in.edit = at;
  if (tape_ != nullptr) in.tape = tape_->Snapshot();
  in.separators = calculadora_.Separadores();
  in.snapshot_every = kSnapshotEvery;
  in.correction = correction;
  pending_ = Pending{};
  pending_.at = at;
  pending_.removed = removed;
  return std::make_unique<ReplayRun>(std::move(in));
}

TapeLines Session::Commit(ReplayRun& run, std::size_t& unchanged) {
  ReplayRun::Output& out = run.Out();
  const ReplayRun::Input& in = run.In();
  const bool recover = pending_.kind == Pending::Kind::kRecover;
  const std::size_t from = recover ? 0 : in.from.entry;
  const std::size_t at = recover ? 0 : pending_.at;
  const std::uint64_t first_changed = recover                ? 0
                                      : at < journal_.size() ? journal_[at].first_line
                                                             : view_.LinesWritten();
  // The disk's copy: commands only taken back (an undo) are cut off the file; commands changed
  // in it are written whole, in one replacement of the file, so that a crash meanwhile finds
  // either journal whole and never a part of each.
  if (from + out.entries.size() > at) {
    if (at < disk_entries_) disk_rewrite_ = true;
  } else {
    Forget(at);
  }

  if (pending_.kind == Pending::Kind::kEdit) {
    pending_.edit.before.assign(
        std::make_move_iterator(journal_.begin() + static_cast<std::ptrdiff_t>(at)),
        std::make_move_iterator(journal_.end()));
  }
  journal_.resize(from);
  journal_.insert(journal_.end(), std::make_move_iterator(out.entries.begin()),
                  std::make_move_iterator(out.entries.end()));
  const std::uint64_t kept_lines = recover ? 0 : in.from.lines;
  operations_.erase(
      std::lower_bound(operations_.begin(), operations_.end(), kept_lines,
                       [](const OperationLine& op, std::uint64_t l) { return op.line < l; }),
      operations_.end());
  operations_.insert(operations_.end(), out.operations.begin(), out.operations.end());
  if (recover) snapshots_.clear();
  snapshots_.erase(
      std::upper_bound(snapshots_.begin(), snapshots_.end(), from,
                       [](std::size_t entry, const SessionState& s) { return entry < s.entry; }),
      snapshots_.end());
  if (recover) snapshots_.push_back(in.from);
  snapshots_.insert(snapshots_.end(), std::make_move_iterator(out.snapshots.begin()),
                    std::make_move_iterator(out.snapshots.end()));

  out.end.Restore(calculadora_, monedas_, view_, runner_);
  view_.ShowState(out.end.view);
  runner_.ShowEquivalences();

  switch (pending_.kind) {
    case Pending::Kind::kUndo:
      if (undo_.back() == StepKind::kAppend) {
        redo_.push_back({StepKind::kAppend, std::move(pending_.entry), {}});
      } else {
        redo_.push_back({StepKind::kEdit, {}, std::move(undo_edits_.back())});
        undo_edits_.pop_back();
      }
      undo_.pop_back();
      break;
    case Pending::Kind::kRedo: {
      RedoStep redo = std::move(redo_.back());
      redo_.pop_back();
      undo_.push_back(redo.kind);
      if (redo.kind == StepKind::kEdit) undo_edits_.push_back(std::move(redo.edit));
      break;
    }
    case Pending::Kind::kEdit:
      pending_.edit.after.assign(journal_.begin() + static_cast<std::ptrdiff_t>(at),
                                 journal_.end());
      undo_.push_back(StepKind::kEdit);
      undo_edits_.push_back(std::move(pending_.edit));
      redo_.clear();
      break;
    case Pending::Kind::kRecover:
      start_ = pending_.start;
      undo_.assign(journal_.size(), StepKind::kAppend);
      undo_edits_.clear();
      redo_.clear();
      disk_rewrite_ = true;
      break;
    case Pending::Kind::kNone:
      break;
  }
  pending_ = Pending{};

  TapeLines tape = std::move(out.tape);
  const bool same_hidden = tape_ != nullptr && tape_->Hidden() == tape.Hidden();
  unchanged = same_hidden && first_changed >= tape.Hidden()
                  ? static_cast<std::size_t>(first_changed - tape.Hidden())
                  : 0;
  return tape;
}

std::int64_t Session::RowOf(std::size_t entry) const {
  const std::uint64_t line =
      entry < journal_.size() ? journal_[entry].first_line : view_.LinesWritten();
  return static_cast<std::int64_t>(line) - static_cast<std::int64_t>(runner_.Hidden());
}

// --- The disk ---------------------------------------------------------------------------------

std::string Session::Text() const {
  std::string text;
  AppendJournalStart(start_, text);
  for (const JournalEntry& entry : journal_) AppendJournalEntry(entry, text);
  return text;
}

void Session::Forget(std::size_t at) {
  if (disk_rewrite_ || at >= disk_entries_) return;
  // The file is cut back to the text of the commands before `at`, as they were written.
  std::string text;
  for (std::size_t j = at; j < disk_entries_; ++j) AppendJournalEntry(journal_[j], text);
  disk_bytes_ -= text.size();
  disk_entries_ = at;
  disk_cut_ = true;
}

bool Session::DiskBehind() const {
  if (disk_cut_ || disk_entries_ < journal_.size()) return true;
  // A session that never had a command needs no file.
  return disk_rewrite_ && !journal_.empty();
}

Session::DiskWork Session::TakeDiskWork() {
  DiskWork work;
  if (disk_rewrite_) {
    work.rewrite = true;
    AppendJournalStart(start_, work.bytes);
    for (const JournalEntry& entry : journal_) AppendJournalEntry(entry, work.bytes);
    disk_bytes_ = work.bytes.size();
  } else {
    work.keep = disk_bytes_;
    for (std::size_t j = disk_entries_; j < journal_.size(); ++j) {
      AppendJournalEntry(journal_[j], work.bytes);
    }
    disk_bytes_ += work.bytes.size();
  }
  disk_entries_ = journal_.size();
  disk_rewrite_ = false;
  disk_cut_ = false;
  return work;
}

}  // namespace dravello
