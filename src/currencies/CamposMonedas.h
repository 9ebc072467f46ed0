// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "PrivateProfile.h"
#include "RatesStamp.h"
#include "TMoneda.h"

namespace dravello {

// The twenty texts from which the currency table is made, as the configuration dialog shows them:
// abbreviation and decimals of entries 0 to 6 and the rate of entries 1 to 6 (the base has none).
// Texts are Windows-1252 bytes, held exactly as read or typed; only AplicaMonedas judges them.
class CamposMonedas {
 public:
  // `ruta_ini`: the settings file; `separador_decimal`: the user's regional decimal separator.
  CamposMonedas(std::string ruta_ini, char separador_decimal);

  // The fields by entry number; EditCambio takes 1 to 6, the others 0 to 6. Throws
  // std::out_of_range for other numbers.
  std::string& EditMoneda(int n);
  std::string& EditDecimales(int n);
  std::string& EditCambio(int n);
  const std::string& EditMoneda(int n) const;
  const std::string& EditDecimales(int n) const;
  const std::string& EditCambio(int n) const;

  // Where the rates came from and the update at start-up (section CAMBIOS), read and written
  // with the fields.
  RatesStamp& Stamp() { return stamp_; }
  const RatesStamp& Stamp() const { return stamp_; }

  const std::string& RutaIni() const { return ruta_ini_; }
  char SeparadorDecimal() const { return separador_decimal_; }

  // Fills the twenty fields from section MONEDAS of the settings file, each key's value or its
  // default ("Pts" and "2" for the base, "", "2" and "1" for the others) as it stands, and the
  // stamp from section CAMBIOS. A missing or unreadable file gives the defaults.
  void LeeIni();
  // The same from a settings file's text in memory.
  void LeeIni(const PrivateProfile& ini);

  // Every "," and "." of the six rate fields becomes the regional decimal separator.
  void NormalizaCambios();

  // NormalizaCambios, then fills all seven entries of `tabla`, correcting silently: an
  // abbreviation is cut to 5 bytes, an empty base abbreviation is "Pts"; decimals that are not a
  // 32-bit decimal integer are 2, more than kMaxDecimales are kMaxDecimales; a rate that does not
  // parse, is not greater than 0 or does not fit a double is 1; the base rate is 1.
  void AplicaMonedas(TTablaMonedas& tabla);

  // NormalizaCambios, then writes the twenty fields as they stand to section MONEDAS of the
  // settings file, and the stamp to section CAMBIOS, in one replacement of the file that keeps
  // every other line. Throws EngineError "Unable to write to PATH", with the file unchanged,
  // when it cannot be written; when the path is a link that may not be followed
  // (kForeignLinkError), the error says so in Spanish (UTF-8, as the path).
  void GrabaIni();
  // The same into a settings file's text in memory.
  void GrabaIni(PrivateProfile& ini);

 private:
  // NormalizaCambios, then the twenty keys with their fields, in the file's order.
  std::vector<std::pair<std::string, std::string>> Valores();

  std::string ruta_ini_;
  char separador_decimal_;
  std::array<std::string, kNumeroMonedas> moneda_;
  std::array<std::string, kNumeroMonedas> decimales_;
  std::array<std::string, kNumeroMonedas> cambio_;  // [0] unused
  RatesStamp stamp_;
};

}  // namespace dravello
