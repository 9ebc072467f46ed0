// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "Calculadora.h"
#include "CalculatorView.h"
#include "CamposMonedas.h"
#include "Currency.h"
#include "RatesStamp.h"
#include "TMoneda.h"

namespace dravello {

// The window logic of currencies: the table and the current currency, the currency strip and
// buttons, the switch between currencies and the equivalences panel. Built on the calculator's
// engine and view, which must outlive it; it binds itself as the engine's display listener, so
// every display change refreshes the equivalences.
class Monedas {
 public:
  inline static const std::string kMensajeDesbordamiento =
      "Desbordamiento en operaci\xF3n de cambio de monedas";
  // What an equivalence cell shows when its amount cannot be expressed in its currency.
  inline static const std::string kCeldaDesbordada = "Desbordado";

  // `ruta_ini`: the settings file that CargaMonedas reads.
  Monedas(Calculadora& calculadora, CalculatorView& view, std::string ruta_ini);
  ~Monedas();
  Monedas(const Monedas&) = delete;
  Monedas& operator=(const Monedas&) = delete;

  // The Qt-free steps of the main window's creation, in their order: CargaMonedas, the engine's
  // start values, PoneDisplay(0), ActualizaMemorias, the base currency made current with its
  // decimals, MuestraMoneda, and last CambiosAbiertos := true. The second form loads the table
  // from fields already read (and perhaps adjusted) instead of from the settings file.
  void IniciaCalculadora();
  void IniciaCalculadora(CamposMonedas campos);
  void IniciaCalculadora(const TTablaMonedas& tabla);

  // Loads the table from the settings file (or from `campos`), labels the currency buttons and
  // sets the engine's decimals to the current currency's. MonedaActual is kept.
  void CargaMonedas();
  void CargaMonedas(CamposMonedas campos);
  // The same with a table already made (a journal's); the rates' stamp is kept.
  void CargaMonedas(const TTablaMonedas& tabla);
  // A new table, from the configuration dialog or an update of the rates: CargaMonedas from
  // `tabla`, RotulaBotonesMoneda, MuestraMoneda and ActualizaEquivalencias, then `tape_line`
  // on the operations list unless it is empty. The amounts are not converted.
  void ApplyTable(const TTablaMonedas& tabla, const std::string& tape_line = {});

  // Captions and enabled states of the seven currency buttons from the table.
  void RotulaBotonesMoneda();
  // The currency strip for the current currency (with the rate's note as PanelEqui's hint),
  // then the display shown again.
  void MuestraMoneda();

  // `importe`, an amount in entry `origen`, in entry `destino`, through the base currency with
  // extended precision, each step rounded to the nearest count (ties to even). Nothing when a
  // step's result does not fit an amount; `importe` itself when both entries are the same.
  std::optional<Currency> ConvierteMoneda(int origen, int destino, Currency importe) const;

  // A click on the currency button with this tag: switches the calculator to that entry,
  // converting the display and the four memories, with its three list lines. Does nothing for
  // the current entry, while an operator is pending, or for an inactive entry or a tag outside
  // 0 to 6. When any of the five amounts cannot be converted, shows the overflow message once and
  // changes nothing. False when the switch is refused because an operator is pending (the caller
  // tells the user: the window beeps); true otherwise.
  bool SpeedButton0Click(int tag);

  // Refreshes the twelve cells of the equivalences panel from the display value, if the panel is
  // open. A cell whose conversion overflows shows kCeldaDesbordada, without a message.
  void ActualizaEquivalencias();

  bool CambiosAbiertos() const { return cambios_abiertos_; }
  void SetCambiosAbiertos(bool abiertos) { cambios_abiertos_ = abiertos; }

  const TTablaMonedas& TablaMonedas() const { return tabla_; }
  // The configuration dialog fills the table through this (CamposMonedas::AplicaMonedas).
  TTablaMonedas& TablaMonedas() { return tabla_; }
  int MonedaActual() const { return moneda_actual_; }
  // Makes entry `moneda` current without a switch (a state put back as it was); nothing shown.
  void SetMonedaActual(int moneda) { moneda_actual_ = moneda; }
  // Where the table's rates came from, as last loaded.
  const RatesStamp& Stamp() const { return stamp_; }
  void SetStamp(const RatesStamp& stamp) { stamp_ = stamp; }
  // The current currency's rate as the strip shows it; empty for the base currency.
  std::string CurrentRateText() const;
  // The day that the ages of the rates are counted to (YYYY-MM-DD); empty, the start value,
  // is the computer's today at each use.
  void SetToday(std::string today) { today_ = std::move(today); }
  std::string Today() const;
  const std::string& RutaIni() const { return ruta_ini_; }

 private:
  // Slot `slot` of the equivalences panel shows the display value in entry `entrada`.
  void PoneCelda(int slot, int entrada);

  Calculadora& calculadora_;
  CalculatorView& view_;
  std::string ruta_ini_;
  TTablaMonedas tabla_{};
  RatesStamp stamp_;
  std::string today_;
  int moneda_actual_ = 0;
  bool cambios_abiertos_ = false;
};

}  // namespace dravello
