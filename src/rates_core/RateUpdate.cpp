// SPDX-License-Identifier: GPL-3.0-or-later
#include "RateUpdate.h"

#include <string_view>

#include "CurrencyCodes.h"
#include "FormatoGeneral.h"

namespace dravello {

RateUpdate ComputeRates(const std::array<std::string, kNumeroMonedas>& abreviaturas,
                        const EuroRates& rates) {
  RateUpdate update;
  std::string_view base = std::string_view(abreviaturas[0]).substr(0, kMaxAbreviatura);
  if (base.empty()) base = "Pts";
  const std::string base_code = CurrencyCode(base);
  const std::optional<double> base_per_euro = rates.UnitsPerEuro(base_code);
  if (base_code.empty() || !base_per_euro) return update;
  update.base_code = base_code;

  for (int n = 1; n < kNumeroMonedas; ++n) {
    const std::string_view abreviatura =
        std::string_view(abreviaturas[static_cast<std::size_t>(n)]).substr(0, kMaxAbreviatura);
    if (abreviatura.empty()) continue;
    const std::string code = CurrencyCode(abreviatura);
    const std::optional<double> per_euro = code.empty() ? std::nullopt : rates.UnitsPerEuro(code);
    if (!per_euro) {
      update.unmatched.push_back(n);
      continue;
    }
    // One unit of the row's currency is 1/per_euro euros, each worth base_per_euro base units.
    const long double cambio =
        static_cast<long double>(*base_per_euro) / static_cast<long double>(*per_euro);
    update.cambio[static_cast<std::size_t>(n)] = static_cast<double>(cambio);
  }
  return update;
}

RateUpdate UpdateCampos(CamposMonedas& campos, const EuroRates& rates, const std::string& host) {
  std::array<std::string, kNumeroMonedas> abreviaturas;
  for (int n = 0; n < kNumeroMonedas; ++n) {
    abreviaturas[static_cast<std::size_t>(n)] = campos.EditMoneda(n);
  }
  const RateUpdate update = ComputeRates(abreviaturas, rates);
  if (update.base_code.empty()) return update;
  const RateOrigin origin{rates.Date(), host};
  for (int n = 1; n < kNumeroMonedas; ++n) {
    const std::optional<double>& cambio = update.cambio[static_cast<std::size_t>(n)];
    if (!cambio) continue;
    campos.EditCambio(n) = FormatoGeneral(*cambio, campos.SeparadorDecimal());
    campos.Stamp().rows[static_cast<std::size_t>(n)] = origin;
  }
  campos.Stamp().update = origin;
  return update;
}

}  // namespace dravello
