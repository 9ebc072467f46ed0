// SPDX-License-Identifier: GPL-3.0-or-later
#include "Monedas.h"

#include <cmath>
#include <utility>

#include "Formato.h"
#include "FormatoGeneral.h"
#include "IsoDates.h"
#include "MuestraMensaje.h"

namespace dravello {

namespace {

// 2^63 is exact in the extended type; every count lies in [-2^63, 2^63).
constexpr long double kTwoTo63 = 9223372036854775808.0L;

// Rounds to the nearest count, ties to even (the rounding mode is never changed from it); nothing
// when the result is not a count.
std::optional<Currency> Redondea(long double counts) {
  const long double r = std::nearbyintl(counts);
  if (!(r >= -kTwoTo63 && r < kTwoTo63)) return std::nullopt;
  return Currency{static_cast<std::int64_t>(r)};
}

}  // namespace

Monedas::Monedas(Calculadora& calculadora, CalculatorView& view, std::string ruta_ini)
    : calculadora_(calculadora), view_(view), ruta_ini_(std::move(ruta_ini)) {
  calculadora_.SetDisplayListener([this] { ActualizaEquivalencias(); });
}

Monedas::~Monedas() {
  calculadora_.SetDisplayListener(nullptr);
}

void Monedas::IniciaCalculadora() {
  CamposMonedas campos(ruta_ini_, calculadora_.Separadores().decimal);
  campos.LeeIni();
  IniciaCalculadora(std::move(campos));
}

void Monedas::IniciaCalculadora(CamposMonedas campos) {
  TTablaMonedas tabla{};
  campos.AplicaMonedas(tabla);
  stamp_ = campos.Stamp();
  IniciaCalculadora(tabla);
}

void Monedas::IniciaCalculadora(const TTablaMonedas& tabla) {
  cambios_abiertos_ = false;
  CargaMonedas(tabla);
  calculadora_.Inicia();
  calculadora_.PoneDisplay(Currency{});
  calculadora_.ActualizaMemorias();
  moneda_actual_ = 0;
  calculadora_.SetDecimales(tabla_[0].Decimales);
  MuestraMoneda();
  cambios_abiertos_ = true;
}

void Monedas::CargaMonedas() {
  CamposMonedas campos(ruta_ini_, calculadora_.Separadores().decimal);
  campos.LeeIni();
  CargaMonedas(std::move(campos));
}

void Monedas::CargaMonedas(CamposMonedas campos) {
  TTablaMonedas tabla{};
  campos.AplicaMonedas(tabla);
  stamp_ = campos.Stamp();
  CargaMonedas(tabla);
}

void Monedas::CargaMonedas(const TTablaMonedas& tabla) {
  tabla_ = tabla;
  RotulaBotonesMoneda();
  calculadora_.SetDecimales(tabla_[static_cast<std::size_t>(moneda_actual_)].Decimales);
}

void Monedas::ApplyTable(const TTablaMonedas& tabla, const std::string& tape_line) {
  CargaMonedas(tabla);
  RotulaBotonesMoneda();
  MuestraMoneda();
  ActualizaEquivalencias();
  if (!tape_line.empty()) calculadora_.AnotarOperacion(tape_line);
}

std::string Monedas::CurrentRateText() const {
  if (moneda_actual_ == 0) return {};
  return FormatoGeneral(tabla_[static_cast<std::size_t>(moneda_actual_)].Cambio,
                        calculadora_.Separadores().decimal);
}

std::string Monedas::Today() const {
  return today_.empty() ? LocalToday() : today_;
}

void Monedas::RotulaBotonesMoneda() {
  view_.SetCurrencyButton(0, tabla_[0].Moneda, true);
  for (int n = 1; n < kNumeroMonedas; ++n) {
    const std::string& moneda = tabla_[static_cast<std::size_t>(n)].Moneda;
    view_.SetCurrencyButton(n, moneda, !moneda.empty());
  }
}

void Monedas::MuestraMoneda() {
  const TMoneda& actual = tabla_[static_cast<std::size_t>(moneda_actual_)];
  view_.SetPanelMoneda(actual.Moneda);
  view_.SetStaticText2("Cambio en " + tabla_[0].Moneda);
  view_.SetPanelDeci(std::to_string(actual.Decimales));
  view_.SetPanelEqui(FormatoGeneral(actual.Cambio, calculadora_.Separadores().decimal));
  view_.SetPanelEquiHint(RateNote(stamp_, moneda_actual_, Today()));
  calculadora_.PoneDisplay(calculadora_.Estado().Numeros[kDisplayRegister]);
}

std::optional<Currency> Monedas::ConvierteMoneda(int origen, int destino, Currency importe) const {
  if (origen == destino) return importe;
  const auto base =
      Redondea(static_cast<long double>(importe.count) *
               static_cast<long double>(tabla_.at(static_cast<std::size_t>(origen)).Cambio));
  if (!base) return std::nullopt;
  return Redondea(static_cast<long double>(base->count) /
                  static_cast<long double>(tabla_.at(static_cast<std::size_t>(destino)).Cambio));
}

bool Monedas::SpeedButton0Click(int tag) {
  EstadoCalculadora& e = calculadora_.Estado();
  if (e.HayOperacion) return false;
  if (tag < 0 || tag >= kNumeroMonedas || tag == moneda_actual_) return true;
  const TMoneda& destino = tabla_[static_cast<std::size_t>(tag)];
  if (destino.Moneda.empty() && tag != 0) return true;

  // Every amount is converted before anything changes: an amount that cannot be converted must
  // not end up labelled with the new currency.
  Currency* const importes[] = {&e.Numeros[kDisplayRegister], &e.MemoriaA, &e.MemoriaB, &e.MemoriaC,
                                &e.MemoriaAux};
  Currency convertidos[std::size(importes)];
  for (std::size_t i = 0; i < std::size(importes); ++i) {
    const auto convertido = ConvierteMoneda(moneda_actual_, tag, *importes[i]);
    if (!convertido) {
      MuestraMensaje(view_, kMensajeDesbordamiento, MessageKind::kError);
      return true;
    }
    convertidos[i] = *convertido;
  }

  const TMoneda& origen = tabla_[static_cast<std::size_t>(moneda_actual_)];
  calculadora_.AnotarOperacion("(" + calculadora_.Formatea(e.Numeros[kDisplayRegister]) + " " +
                               origen.Moneda + ")");
  calculadora_.AnotarOperacion("---> Cambio a Moneda (" + destino.Moneda + ")");
  for (std::size_t i = 1; i < std::size(importes); ++i) *importes[i] = convertidos[i];
  // The memory panels show the memories in the new currency, with its decimals.
  moneda_actual_ = tag;
  calculadora_.SetDecimales(destino.Decimales);
  calculadora_.ActualizaMemorias();
  calculadora_.PoneDisplay(convertidos[0]);
  calculadora_.AnotarOperacion("(" + calculadora_.Formatea(e.Numeros[kDisplayRegister]) + " " +
                               destino.Moneda + ")");
  MuestraMoneda();
  calculadora_.QuitaOperacion();
  return true;
}

void Monedas::PoneCelda(int slot, int entrada) {
  const TMoneda& moneda = tabla_[static_cast<std::size_t>(entrada)];
  // No message: the refresh follows every display change, which the user did not ask for, and
  // a box at each key would swallow the keys typed while it is up.
  const auto importe =
      ConvierteMoneda(moneda_actual_, entrada, calculadora_.Estado().Numeros[kDisplayRegister]);
  view_.SetAmountCell(slot,
                      importe ? FormatAmount(*importe, moneda.Decimales, calculadora_.Separadores())
                              : kCeldaDesbordada);
  view_.SetAbbreviationCell(slot, moneda.Moneda);
}

void Monedas::ActualizaEquivalencias() {
  if (!cambios_abiertos_) return;
  // The base has no slot of its own: it takes the current currency's, which needs none.
  if (moneda_actual_ != 0) PoneCelda(moneda_actual_, 0);
  for (int n = 1; n < kNumeroMonedas; ++n) {
    if (tabla_[static_cast<std::size_t>(n)].Moneda.empty()) {
      view_.SetAmountCell(n, "");
      view_.SetAbbreviationCell(n, "");
    } else if (n != moneda_actual_) {
      PoneCelda(n, n);
    }
  }
}

}  // namespace dravello
