// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "Calculadora.h"
#include "Monedas.h"
#include "ReplayOptions.h"
#include "ReplayView.h"

namespace dravello {

// The window logic without its window: the engine (and what the window starts with) bound to a
// view that prints.
class ReplaySession {
 public:
  ReplaySession(std::ostream& out, const ReplayOptions& options);

  // The window's start-up: everything it shows before the first key.
  void Start();
  // One key handed to the command driver; a failure becomes the general error report.
  void Press(char key);
  // A click on the currency button with this tag; a disabled button takes no click.
  void Click(int tag);
  // The state block, ending with "end".
  void WriteState(std::ostream& out) const;

 private:
  const ReplayOptions& options_;
  ReplayView view_;
  Calculadora calculadora_;
  Monedas monedas_;
};

}  // namespace dravello
