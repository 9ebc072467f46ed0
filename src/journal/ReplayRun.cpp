// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayRun.h"

#include "Calculadora.h"
#include "JournalRunner.h"
#include "Monedas.h"
#include "SessionView.h"

namespace dravello {

SessionState ReplayRun::StartState(const JournalStart& start) {
  SessionView view;
  Calculadora calculadora(view, start.separators);
  Monedas monedas(calculadora, view, std::string());
  monedas.IniciaCalculadora(start.table);
  SessionState state = SessionState::Capture(0, calculadora, monedas, view,
                                             JournalRunner(calculadora, monedas, view, {}, false));
  return state;
}

std::uint8_t ReplayRun::ChangedLines(std::uint64_t first, std::uint64_t end) const {
  std::uint8_t marks = 0;
  for (std::uint64_t k = 0; first + k < end && k < 8; ++k) {
    const auto line = static_cast<std::size_t>(first + k);
    const bool same = line < in_.tape.Written() && in_.tape.SameLine(line, out_.tape, line);
    if (!same) marks = static_cast<std::uint8_t>(marks | (1u << k));
  }
  return marks;
}

void ReplayRun::Run(std::atomic<std::size_t>& done, const std::atomic<bool>& cancel) {
  out_ = Output{};
  out_.tape = in_.tape.Snapshot();
  out_.tape.Truncate(static_cast<std::size_t>(in_.from.lines));
  out_.tape.Hide(static_cast<std::size_t>(in_.from.hidden));

  SessionView view;
  Calculadora calculadora(view, in_.separators);
  Monedas monedas(calculadora, view, std::string());
  view.SetTape(&out_.tape, &monedas);
  JournalRunner runner(
      calculadora, monedas, view,
      [this] {
        const bool any = !out_.tape.Empty();
        out_.tape.Hide(out_.tape.Written());
        return any;
      },
      false);
  in_.from.Restore(calculadora, monedas, view, runner);
  // The equivalences are made once at the end, by the window: nothing of the state hangs on them.
  monedas.SetCambiosAbiertos(false);

  out_.entries.reserve(in_.entries.size());
  for (std::size_t i = 0; i < in_.entries.size(); ++i) {
    if (cancel.load(std::memory_order_relaxed)) {
      out_.cancelled = true;
      return;
    }
    const std::size_t index = in_.from.entry + i;
    JournalEntry entry = std::move(in_.entries[i]);  // the input is this run's alone
    const bool boxed_before = entry.boxed;
    runner.Run(entry, static_cast<std::uint32_t>(index), out_.operations);
    if (in_.correction && index >= in_.edit) {
      if (entry.boxed && !boxed_before) {
        out_.refused = true;
        out_.refused_entry = index;
        out_.refusal = view.FirstBox();
        return;
      }
      const std::uint64_t end = view.LinesWritten();
      const std::uint8_t changed = ChangedLines(entry.first_line, end);
      for (std::uint64_t k = 0; entry.first_line + k < end && k < 8; ++k) {
        if ((changed >> k) & 1) {
          out_.tape.SetCorrected(static_cast<std::size_t>(entry.first_line + k), true);
        }
      }
      entry.marks = static_cast<std::uint8_t>(entry.marks | changed);
    }
    out_.entries.push_back(std::move(entry));
    if ((index + 1) % in_.snapshot_every == 0) {
      out_.snapshots.push_back(
          SessionState::Capture(index + 1, calculadora, monedas, view, runner));
    }
    done.fetch_add(1, std::memory_order_relaxed);
  }
  out_.end = SessionState::Capture(in_.from.entry + in_.entries.size(), calculadora, monedas, view,
                                   runner);
}

}  // namespace dravello
