// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplaySession.h"

#include <string>
#include <utility>

#include "CommandRunner.h"
#include "StateBlock.h"

namespace dravello {

ReplaySession::ReplaySession(std::ostream& out, const ReplayOptions& options)
    : options_(options),
      printer_(out),
      view_(&printer_),
      calculadora_(view_, options.separators),
      monedas_(calculadora_, view_, options.ini.value_or(std::string())) {}

void ReplaySession::Start(const std::optional<JournalStart>& start) {
  if (start) {
    monedas_.IniciaCalculadora(start->table);
    return;
  }
  // The window's own start-up; --decimals stands in for the settings file's Decimales0.
  CamposMonedas campos(monedas_.RutaIni(), options_.separators.decimal);
  campos.LeeIni();
  if (options_.decimals) campos.EditDecimales(0) = std::to_string(*options_.decimals);
  monedas_.IniciaCalculadora(std::move(campos));
}

void ReplaySession::Run(const JournalEntry& entry) {
  printer_.SetMarks(entry.marks);
  if (entry.kind == CommandKind::kClearTape) {
    printer_.ClearTape();
  } else {
    RunJournalCommand(entry, calculadora_, monedas_, view_);
  }
}

void ReplaySession::WriteState(std::ostream& out) const {
  WriteStateBlock(out, view_.State(), calculadora_.Estado(), monedas_.MonedaActual(),
                  printer_.Cells());
}

}  // namespace dravello
