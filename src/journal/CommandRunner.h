// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "Calculadora.h"
#include "JournalEntry.h"
#include "Monedas.h"

namespace dravello {

// How one command of the journal went.
struct CommandOutcome {
  bool ok = true;        // false: it failed, and its error box has been shown
  bool pasted = true;    // kPaste: false when the text was no number (nothing changed)
  bool switched = true;  // kClick: false when refused, an operation being pending
  std::string copied;    // kCopy: the text for the clipboard (Windows-1252)
};

// Runs the command of `entry` on the calculator and its currencies, exactly as the window
// does for the key, click or button it stands for; a failure is shown through `view` as the
// general error report. kClearTape does nothing here: the list is the caller's.
CommandOutcome RunJournalCommand(const JournalEntry& entry, Calculadora& calculadora,
                                 Monedas& monedas, CalculatorView& view);

}  // namespace dravello
