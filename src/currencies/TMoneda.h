// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace dravello {

// One currency of the table.
struct TMoneda {
  std::int32_t Decimales = 0;  // how many decimals its amounts show; 0 or less shows none
  std::string Moneda;          // abbreviation, at most kMaxAbreviatura bytes; empty: inactive
  double Cambio = 0;           // base units that one unit is worth; greater than 0 once loaded
};

inline constexpr int kNumeroMonedas = 7;  // entry 0 is the base currency
inline constexpr std::size_t kMaxAbreviatura = 5;
// The most decimals a currency may have. The settings file may ask for more; each one costs a
// character in every amount shown, so larger counts are cut to this.
inline constexpr std::int32_t kMaxDecimales = 99;

// Entries 0 to 6; before the first load every entry is zero.
using TTablaMonedas = std::array<TMoneda, kNumeroMonedas>;

}  // namespace dravello
