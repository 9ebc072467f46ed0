// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <ostream>
#include <string>

#include "Calculadora.h"
#include "ViewState.h"

namespace dravello {

// The equivalence cells of slots 1 to 6 ([0] unused), as last shown.
struct EquivalenceCells {
  std::array<std::string, 7> amounts, abbreviations;
};

// The state block of dravello-replay's transcript, from "display:" to "end", in UTF-8.
void WriteStateBlock(std::ostream& out, const ViewState& view, const EstadoCalculadora& estado,
                     int moneda_actual, const EquivalenceCells& cells);

}  // namespace dravello
