// SPDX-License-Identifier: GPL-3.0-or-later
#include "JournalRunner.h"

#include "SessionState.h"

namespace dravello {

JournalRunner::JournalRunner(Calculadora& calculadora, Monedas& monedas, SessionView& view,
                             std::function<bool()> clear_tape, bool refresh)
    : calculadora_(calculadora),
      monedas_(monedas),
      view_(view),
      clear_tape_(std::move(clear_tape)) {
  calculadora_.SetDisplayListener([this, refresh] {
    shown_ = calculadora_.Estado().Numeros[kDisplayRegister];
    if (refresh) monedas_.ActualizaEquivalencias();
  });
}

JournalRunner::~JournalRunner() {
  calculadora_.SetDisplayListener(nullptr);
}

void JournalRunner::ShowEquivalences() {
  if (!monedas_.CambiosAbiertos()) return;
  if (!shown_) {
    for (int slot = 1; slot <= 6; ++slot) {
      view_.SetAmountCell(slot, std::string());
      view_.SetAbbreviationCell(slot, std::string());
    }
    return;
  }
  Currency& display = calculadora_.Estado().Numeros[kDisplayRegister];
  const Currency now = display;
  display = *shown_;
  monedas_.ActualizaEquivalencias();
  display = now;
}

JournalRunner::Step JournalRunner::Run(JournalEntry& entry, std::uint32_t index,
                                       std::vector<OperationLine>& operations) {
  const EstadoCalculadora before = calculadora_.Estado();
  const int moneda = monedas_.MonedaActual();
  const std::uint64_t first_line = view_.LinesWritten();
  const AmountTracker::Plan plan = amounts_.PlanFor(before, entry, index);
  view_.BeginCommand(entry.marks);

  Step step;
  if (entry.kind == CommandKind::kClearTape) {
    step.changed = clear_tape_();
    if (step.changed) hidden_ = first_line;
  } else {
    step.outcome = RunJournalCommand(entry, calculadora_, monedas_, view_);
    // A new table changes the rates even where nothing shown changes.
    step.changed = view_.Changed() || entry.kind == CommandKind::kTable ||
                   monedas_.MonedaActual() != moneda || !SameEstado(before, calculadora_.Estado());
    if (step.changed) {
      amounts_.Update(before, calculadora_.Estado(), entry, index, step.outcome.ok);
    }
  }
  entry.first_line = first_line;
  entry.boxed = view_.Boxes() > 0;
  const std::uint64_t written = view_.LinesWritten() - first_line;
  for (int k = 0; k < plan.count && static_cast<std::uint64_t>(k) < written; ++k) {
    OperationLine line = plan.lines[static_cast<std::size_t>(k)];
    line.line = first_line + static_cast<std::uint64_t>(k);
    operations.push_back(line);
  }
  return step;
}

}  // namespace dravello
