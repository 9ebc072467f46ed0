// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "CamposMonedas.h"
#include "EuroRates.h"
#include "TMoneda.h"

namespace dravello {

// The rates that one day's euro rates give the rows of the currency dialog.
struct RateUpdate {
  // The code that the base currency stands for; empty when it matches nothing, and then no row
  // has a new rate.
  std::string base_code;
  // Rows 1 to 6: base units that one unit of the row's currency is worth, for each row whose
  // abbreviation matched a currency the rates know. [0] is never set.
  std::array<std::optional<double>, kNumeroMonedas> cambio;
  // Rows 1 to 6 that hold an abbreviation and got no rate, in order. Empty rows are inactive and
  // are not listed.
  std::vector<int> unmatched;
};

// `abreviaturas`: the seven abbreviation fields as they stand (Windows-1252). Each is taken as
// the currency table will take it (its first kMaxAbreviatura bytes; an empty base is "Pts") and
// matched with CurrencyCode. A row's rate is the base's units per euro over the row's units per
// euro, worked out in extended precision and rounded once to a double.
RateUpdate ComputeRates(const std::array<std::string, kNumeroMonedas>& abreviaturas,
                        const EuroRates& rates);

// "Actualizar cambios" on the fields of `campos`, as the dialog does it on its own: each row
// whose abbreviation matches gets its rate (FormatoGeneral, the fields' decimal separator) and
// the stamp of `rates`' day and `host`; so does the update itself. Nothing changes when the base
// matches nothing (the result's base_code is empty then).
RateUpdate UpdateCampos(CamposMonedas& campos, const EuroRates& rates, const std::string& host);

}  // namespace dravello
