// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "AmountTracker.h"
#include "CommandRunner.h"
#include "SessionView.h"

namespace dravello {

// Runs the commands of a journal one by one on an engine bound to a SessionView, and keeps
// what a session knows about each: the lines it wrote, whether it showed a box, where the
// amounts of its operation lines came from. The same for the running window and for a replay.
class JournalRunner {
 public:
  struct Step {
    CommandOutcome outcome;
    bool changed = false;  // the command changed the state, what is shown or the list
  };

  // `clear_tape` empties the list ("Borrar la cinta") and says whether it held a line. The
  // runner follows every display change (it takes the engine's display listener, after the
  // currencies took it); `refresh` also refreshes the equivalences then, as the window does.
  JournalRunner(Calculadora& calculadora, Monedas& monedas, SessionView& view,
                std::function<bool()> clear_tape, bool refresh);
  ~JournalRunner();
  JournalRunner(const JournalRunner&) = delete;
  JournalRunner& operator=(const JournalRunner&) = delete;

  // Runs `entry`, the command at `index` of the journal, and fills in what it left (its first
  // line, whether it showed a box); appends its operation lines to `operations`.
  Step Run(JournalEntry& entry, std::uint32_t index, std::vector<OperationLine>& operations);

  AmountTracker& Amounts() { return amounts_; }
  const AmountTracker& Amounts() const { return amounts_; }
  // Lines written before the first one shown.
  std::uint64_t Hidden() const { return hidden_; }
  void SetHidden(std::uint64_t hidden) { hidden_ = hidden; }

  // The display value at the last display change, from which the equivalences are made;
  // nothing before the first change (the panel starts empty).
  std::optional<Currency> Shown() const { return shown_; }
  void SetShown(std::optional<Currency> shown) { shown_ = shown; }
  // The equivalences of Shown(), in the view (if their panel is open).
  void ShowEquivalences();

 private:
  Calculadora& calculadora_;
  Monedas& monedas_;
  SessionView& view_;
  std::function<bool()> clear_tape_;
  AmountTracker amounts_;
  std::uint64_t hidden_ = 0;
  std::optional<Currency> shown_;
};

}  // namespace dravello
