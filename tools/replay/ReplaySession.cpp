// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplaySession.h"

#include <string>
#include <utility>

#include "CommandRunner.h"
#include "Cp1252.h"

namespace dravello {

namespace {

std::string FlagText(bool flag) {
  return flag ? "1" : "0";
}

}  // namespace

ReplaySession::ReplaySession(std::ostream& out, const ReplayOptions& options)
    : options_(options),
      view_(out),
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
  view_.SetMarks(entry.marks);
  if (entry.kind == CommandKind::kClearTape) {
    view_.ClearTape();
  } else {
    RunJournalCommand(entry, calculadora_, monedas_, view_);
  }
}

void ReplaySession::WriteState(std::ostream& out) const {
  const EstadoCalculadora& e = calculadora_.Estado();
  view_.WriteIndicators(out);
  // Counts through std::to_string, whatever locale a stream may carry.
  out << "X: " << std::to_string(e.Numeros[kAccumulator].count) << '\n';
  out << "Y: " << std::to_string(e.Numeros[kDisplayRegister].count) << '\n';
  out << "entry: " << Cp1252ToUtf8(e.TextoEntrada) << '\n';
  out << "flags: HayNumero=" << FlagText(e.HayNumero)
      << " HayOperacion=" << FlagText(e.HayOperacion)
      << " NuevaEntrada=" << FlagText(e.NuevaEntrada) << " Operacion="
      << (e.Operacion == '\0' ? std::string() : Cp1252ToUtf8(std::string(1, e.Operacion))) << '\n';
  out << "memories: " << std::to_string(e.MemoriaA.count) << ' ' << std::to_string(e.MemoriaB.count)
      << ' ' << std::to_string(e.MemoriaC.count) << ' ' << std::to_string(e.MemoriaAux.count)
      << '\n';
  view_.WriteCurrencyStrip(out, monedas_.MonedaActual());
  view_.WriteEquivalences(out);
  out << "end\n";
}

}  // namespace dravello
