// SPDX-License-Identifier: GPL-3.0-or-later
#include "CamposMonedas.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <utility>

#include "AtomicFile.h"
#include "AtomicFileWriter.h"
#include "Cp1252.h"
#include "Currency.h"
#include "Formato.h"
#include "PrivateProfile.h"
#include "SystemErrorText.h"
#include "Utiles.h"

namespace dravello {

namespace {

constexpr const char* kSeccion = "MONEDAS";

std::string Clave(const char* nombre, int n) {
  return nombre + std::to_string(n);
}

// The keys in the order in which they are read and written, with the field of each.
template <typename Fn>
void PorCadaClave(Fn fn) {
  for (int n = 0; n < kNumeroMonedas; ++n) {
    fn(Clave("Moneda", n), 'M', n);
    fn(Clave("Decimales", n), 'D', n);
    if (n > 0) fn(Clave("Cambio", n), 'C', n);
  }
}

std::size_t Indice(int n, int primero) {
  if (n < primero || n >= kNumeroMonedas) throw std::out_of_range("currency entry out of range");
  return static_cast<std::size_t>(n);
}

// A 32-bit integer in decimal notation (optional leading blanks, an optional sign, digits), cut
// to kMaxDecimales; 2 for any other text.
std::int32_t LeeDecimales(const std::string& texto) {
  constexpr std::int32_t kPorDefecto = 2;
  std::size_t i = 0;
  while (i < texto.size() && (texto[i] == ' ' || texto[i] == '\t')) ++i;
  bool negativo = false;
  if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) negativo = texto[i++] == '-';
  if (i == texto.size()) return kPorDefecto;
  std::int64_t valor = 0;
  for (; i < texto.size(); ++i) {
    if (texto[i] < '0' || texto[i] > '9') return kPorDefecto;
    valor = valor * 10 + (texto[i] - '0');
    if (valor > std::int64_t{1} << 31) return kPorDefecto;  // beyond any 32-bit integer
  }
  if (negativo) valor = -valor;
  if (valor < INT32_MIN || valor > INT32_MAX) return kPorDefecto;
  return valor > kMaxDecimales ? kMaxDecimales : static_cast<std::int32_t>(valor);
}

double LeeCambio(const std::string& texto, char separador) {
  long double parsed = 0;
  if (ParseExtended(texto, separador, parsed) != ParseStatus::kOk) return 1;
  const double cambio = static_cast<double>(parsed);
  if (!std::isfinite(cambio) || !(cambio > 0)) return 1;
  return cambio;
}

}  // namespace

CamposMonedas::CamposMonedas(std::string ruta_ini, char separador_decimal)
    : ruta_ini_(std::move(ruta_ini)), separador_decimal_(separador_decimal) {}

std::string& CamposMonedas::EditMoneda(int n) {
  return moneda_[Indice(n, 0)];
}
std::string& CamposMonedas::EditDecimales(int n) {
  return decimales_[Indice(n, 0)];
}
std::string& CamposMonedas::EditCambio(int n) {
  return cambio_[Indice(n, 1)];
}
const std::string& CamposMonedas::EditMoneda(int n) const {
  return moneda_[Indice(n, 0)];
}
const std::string& CamposMonedas::EditDecimales(int n) const {
  return decimales_[Indice(n, 0)];
}
const std::string& CamposMonedas::EditCambio(int n) const {
  return cambio_[Indice(n, 1)];
}

void CamposMonedas::LeeIni() {
  FileRead file = ReadWholeFile(ruta_ini_, PrivateProfile::kMaxFileBytes);
  LeeIni(
      PrivateProfile(file.status == FileReadStatus::kOk ? std::move(file.bytes) : std::string()));
}

void CamposMonedas::LeeIni(const PrivateProfile& ini) {
  PorCadaClave([&](const std::string& clave, char campo, int n) {
    switch (campo) {
      case 'M':
        moneda_[n] = ini.Get(kSeccion, clave, n == 0 ? "Pts" : "");
        break;
      case 'D':
        decimales_[n] = ini.Get(kSeccion, clave, "2");
        break;
      default:
        cambio_[n] = ini.Get(kSeccion, clave, "1");
        break;
    }
  });
  stamp_ = RatesStamp::Read(ini);
}

void CamposMonedas::NormalizaCambios() {
  for (int n = 1; n < kNumeroMonedas; ++n) {
    cambio_[n] = CambiaCaracter(cambio_[n], ',', separador_decimal_);
    cambio_[n] = CambiaCaracter(cambio_[n], '.', separador_decimal_);
  }
}

void CamposMonedas::AplicaMonedas(TTablaMonedas& tabla) {
  NormalizaCambios();
  for (int n = 0; n < kNumeroMonedas; ++n) {
    TMoneda& m = tabla[static_cast<std::size_t>(n)];
    m.Moneda = moneda_[n].substr(0, kMaxAbreviatura);
    if (n == 0 && m.Moneda.empty()) m.Moneda = "Pts";
    m.Decimales = LeeDecimales(decimales_[n]);
    m.Cambio = n == 0 ? 1.0 : LeeCambio(cambio_[n], separador_decimal_);
  }
}

std::vector<std::pair<std::string, std::string>> CamposMonedas::Valores() {
  NormalizaCambios();
  std::vector<std::pair<std::string, std::string>> valores;
  PorCadaClave([&](const std::string& clave, char campo, int n) {
    const std::string& valor = campo == 'M'   ? moneda_[n]
                               : campo == 'D' ? decimales_[n]
                                              : cambio_[n];
    valores.emplace_back(clave, valor);
  });
  return valores;
}

void CamposMonedas::GrabaIni() {
  int error = 0;
  const auto valores = Valores();
  const bool written = UpdateProfile(
      ruta_ini_,
      [&](PrivateProfile& ini) {
        for (const auto& [clave, valor] : valores) ini.Set(kSeccion, clave, valor);
        stamp_.WriteTo(ini);
      },
      &error);
  if (written) return;
  if (error == kForeignLinkError) {
    throw EngineError("No se ha podido guardar \xC2\xAB" + ruta_ini_ +
                      "\xC2\xBB: " + Cp1252ToUtf8(SystemErrorText(error)));
  }
  throw EngineError("Unable to write to " + ruta_ini_);
}

void CamposMonedas::GrabaIni(PrivateProfile& ini) {
  for (const auto& [clave, valor] : Valores()) ini.Set(kSeccion, clave, valor);
  stamp_.WriteTo(ini);
}

}  // namespace dravello
