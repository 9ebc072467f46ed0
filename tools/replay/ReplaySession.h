// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include <optional>

#include "Calculadora.h"
#include "JournalEntry.h"
#include "Monedas.h"
#include "ReplayOptions.h"
#include "ReplayView.h"
#include "SessionView.h"

namespace dravello {

// The window logic without its window: the engine (and what the window starts with) bound to a
// view that prints.
class ReplaySession {
 public:
  ReplaySession(std::ostream& out, const ReplayOptions& options);

  // The window's start-up: everything it shows before the first key. `start` (a journal's
  // start record) gives the table instead of the settings file and the options.
  void Start(const std::optional<JournalStart>& start);
  // One command as the window runs it; a failure becomes the general error report. A click on
  // a disabled currency button does nothing.
  void Run(const JournalEntry& entry);
  // The state block, ending with "end".
  void WriteState(std::ostream& out) const;

 private:
  const ReplayOptions& options_;
  ReplayView printer_;
  SessionView view_;
  Calculadora calculadora_;
  Monedas monedas_;
};

}  // namespace dravello
