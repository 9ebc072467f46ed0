// SPDX-License-Identifier: GPL-3.0-or-later
#include "SessionState.h"

#include "JournalRunner.h"
#include "Monedas.h"
#include "SessionView.h"

namespace dravello {

SessionState SessionState::Capture(std::size_t entry, const Calculadora& calculadora,
                                   const Monedas& monedas, const SessionView& view,
                                   const JournalRunner& runner) {
  SessionState state;
  state.entry = entry;
  state.estado = calculadora.Estado();
  state.decimales = calculadora.Decimales();
  state.moneda = monedas.MonedaActual();
  state.table = monedas.TablaMonedas();
  state.view = view.State();
  state.lines = view.LinesWritten();
  state.hidden = runner.Hidden();
  state.amounts = runner.Amounts();
  state.shown = runner.Shown();
  return state;
}

void SessionState::Restore(Calculadora& calculadora, Monedas& monedas, SessionView& view,
                           JournalRunner& runner) const {
  calculadora.Estado() = estado;
  calculadora.SetDecimales(decimales);
  // The display's text is what the display shows.
  calculadora.RestoreDisplayText(this->view.panel1);
  monedas.TablaMonedas() = table;
  monedas.SetMonedaActual(moneda);
  view.SetState(this->view);
  view.SetLinesWritten(lines);
  runner.Amounts() = amounts;
  runner.SetHidden(hidden);
  runner.SetShown(shown);
}

bool SameEstado(const EstadoCalculadora& a, const EstadoCalculadora& b) {
  return a.TextoEntrada == b.TextoEntrada && a.Numeros[1] == b.Numeros[1] &&
         a.Numeros[2] == b.Numeros[2] && a.Operacion == b.Operacion && a.HayNumero == b.HayNumero &&
         a.HayOperacion == b.HayOperacion && a.NuevaEntrada == b.NuevaEntrada &&
         a.MemoriaA == b.MemoriaA && a.MemoriaB == b.MemoriaB && a.MemoriaC == b.MemoriaC &&
         a.MemoriaAux == b.MemoriaAux;
}

}  // namespace dravello
