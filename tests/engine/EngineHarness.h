// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "Calculadora.h"
#include "RecordingView.h"

namespace dravello {

// An engine as the window starts it (display 0, memory panels shown), with a recording view.
class EngineHarness {
 public:
  explicit EngineHarness(Separators separators = Separators{',', '.'}, int decimals = 2)
      : calc_(view_, separators) {
    calc_.SetDecimales(decimals);
    calc_.Inicia();
    calc_.PoneDisplay(Currency{});
    calc_.ActualizaMemorias();
  }

  // Runs keys as the window does: each key is one command, a failure ends it.
  void Keys(const std::string& keys) {
    for (char k : keys) RunCommand(view_, [&] { calc_.ProcesaTecla(k); });
  }

  RecordingView view_;
  Calculadora calc_;
};

}  // namespace dravello
