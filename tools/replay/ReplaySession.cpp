#include "ReplaySession.h"

#include <string>

#include "Cp1252.h"

namespace dravello {

namespace {

std::string FlagText(bool flag) {
  return flag ? "1" : "0";
}

}  // namespace

ReplaySession::ReplaySession(std::ostream& out, const ReplayOptions& options)
    : options_(options), view_(out), calculadora_(view_, options.separators) {}

void ReplaySession::Start() {
  // The default currency table until the settings file is read: the base "Pts" with 2 decimals.
  const int decimals = options_.decimals.value_or(2);
  view_.SetCurrencyButton(0, "Pts", true);
  for (int tag = 1; tag <= 6; ++tag) view_.SetCurrencyButton(tag, "", false);
  calculadora_.SetDecimales(decimals);
  calculadora_.Inicia();
  calculadora_.PoneDisplay(Currency{});
  calculadora_.ActualizaMemorias();
  view_.SetPanelMoneda("Pts");
  view_.SetStaticText2("Cambio en Pts");
  view_.SetPanelDeci(std::to_string(decimals));
  view_.SetPanelEqui("1");
  calculadora_.PoneDisplay(calculadora_.Estado().Numeros[2]);
}

void ReplaySession::Press(char key) {
  RunCommand(view_, [&] { calculadora_.ProcesaTecla(key); });
}

void ReplaySession::Click(int tag) {
  if (!view_.CurrencyButtonEnabled(tag)) return;
}

void ReplaySession::WriteState(std::ostream& out) const {
  const EstadoCalculadora& e = calculadora_.Estado();
  view_.WriteIndicators(out);
  out << "X: " << e.Numeros[1].count << '\n';
  out << "Y: " << e.Numeros[2].count << '\n';
  out << "entry: " << Cp1252ToUtf8(e.TextoEntrada) << '\n';
  out << "flags: HayNumero=" << FlagText(e.HayNumero)
      << " HayOperacion=" << FlagText(e.HayOperacion)
      << " NuevaEntrada=" << FlagText(e.NuevaEntrada) << " Operacion="
      << (e.Operacion == '\0' ? std::string() : Cp1252ToUtf8(std::string(1, e.Operacion))) << '\n';
  out << "memories: " << e.MemoriaA.count << ' ' << e.MemoriaB.count << ' ' << e.MemoriaC.count
      << ' ' << e.MemoriaAux.count << '\n';
  view_.WriteCurrencyStrip(out, moneda_actual_);
  view_.WriteEquivalences(out);
  out << "end\n";
}

}  // namespace dravello
