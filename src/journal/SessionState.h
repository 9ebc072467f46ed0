// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "AmountTracker.h"
#include "Calculadora.h"
#include "TMoneda.h"
#include "ViewState.h"

namespace dravello {

class JournalRunner;
class Monedas;
class SessionView;

// Everything a session is after some commands of its journal, so that a replay can start
// there instead of at the beginning (a snapshot): the engine's registers and the currency in
// force, what the window shows, the list's length and what the journal knows of the amounts.
struct SessionState {
  std::size_t entry = 0;  // the commands run before it
  EstadoCalculadora estado;
  int decimales = 0;
  int moneda = 0;
  TTablaMonedas table{};
  ViewState view;
  std::uint64_t lines = 0;   // lines written before it
  std::uint64_t hidden = 0;  // of those, the ones that "Borrar la cinta" took from the list
  AmountTracker amounts;
  std::optional<Currency> shown;  // the display value of the equivalences (JournalRunner)

  static SessionState Capture(std::size_t entry, const Calculadora& calculadora,
                              const Monedas& monedas, const SessionView& view,
                              const JournalRunner& runner);
  // Puts the state back into the engine, the currencies and the view without showing anything
  // (the display's text included).
  void Restore(Calculadora& calculadora, Monedas& monedas, SessionView& view,
               JournalRunner& runner) const;
};

bool SameEstado(const EstadoCalculadora& a, const EstadoCalculadora& b);

}  // namespace dravello
