// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandRunner.h"

#include "Portapapeles.h"

namespace dravello {

CommandOutcome RunJournalCommand(const JournalEntry& entry, Calculadora& calculadora,
                                 Monedas& monedas, CalculatorView& view) {
  CommandOutcome outcome;
  switch (entry.kind) {
    case CommandKind::kKey:
      outcome.ok = RunCommand(view, [&] { calculadora.ProcesaTecla(entry.key); });
      break;
    case CommandKind::kClick:
      outcome.ok =
          RunCommand(view, [&] { outcome.switched = monedas.SpeedButton0Click(entry.key); });
      break;
    case CommandKind::kPaste:
      outcome.ok =
          RunCommand(view, [&] { outcome.pasted = PegaDisplay(calculadora, entry.payload->text); });
      break;
    case CommandKind::kCopy:
      outcome.ok = RunCommand(view, [&] { outcome.copied = CopiaDisplay(calculadora); });
      break;
    case CommandKind::kTable:
      outcome.ok =
          RunCommand(view, [&] { monedas.ApplyTable(entry.payload->table, entry.payload->text); });
      break;
    case CommandKind::kClearTape:
      break;
  }
  return outcome;
}

}  // namespace dravello
