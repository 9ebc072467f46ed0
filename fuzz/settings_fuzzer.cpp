// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: any bytes load a currency table, and what the currency dialog writes back
// into the same text reads back as the same twenty fields and the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "CamposMonedas.h"
#include "PrivateProfile.h"

namespace {

bool SameTable(const dravello::TTablaMonedas& a, const dravello::TTablaMonedas& b) {
  for (std::size_t n = 0; n < a.size(); ++n) {
    if (a[n].Moneda != b[n].Moneda || a[n].Decimales != b[n].Decimales ||
        std::memcmp(&a[n].Cambio, &b[n].Cambio, sizeof(double)) != 0) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using dravello::CamposMonedas;
  // The first byte picks the regional decimal separator ('.' or else ','); the rest is the file.
  if (size == 0) return 0;
  const char separator = data[0] == '.' ? '.' : ',';
  dravello::PrivateProfile ini(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));

  CamposMonedas read("", separator);
  read.LeeIni(ini);
  dravello::TTablaMonedas table{};
  read.AplicaMonedas(table);  // also writes the rates with the regional separator
  read.GrabaIni(ini);

  CamposMonedas again("", separator);
  again.LeeIni(ini);
  for (int n = 0; n < dravello::kNumeroMonedas; ++n) {
    if (again.EditMoneda(n) != read.EditMoneda(n) ||
        again.EditDecimales(n) != read.EditDecimales(n) ||
        (n > 0 && again.EditCambio(n) != read.EditCambio(n))) {
      std::abort();  // a field that does not read back as it was written
    }
  }
  dravello::TTablaMonedas table_again{};
  again.AplicaMonedas(table_again);
  if (!SameTable(table, table_again)) std::abort();
  return 0;
}
