// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dravello {

// The ISO 4217 code that a currency abbreviation stands for, as a user writes it (Windows-1252
// bytes): blanks around it do not count; the everyday names "Eur"/"€", "Dol"/"$",
// "Lib"/"Libra"/"£", "Yen"/"¥" and "Pts"/"Pta" give EUR, USD, GBP, JPY and ESP; any other text
// is taken as a code itself. Letters match without regard to case; the code comes in capitals.
// Empty when the text cannot be a code (not three ASCII letters once trimmed).
std::string CurrencyCode(std::string_view abbreviation);

// Units of a predecessor of the euro per euro: the fixed, irrevocable conversion rate of the
// currency with ISO code `code` (capitals). Nothing for any other code.
std::optional<double> FixedEuroRate(std::string_view code);

}  // namespace dravello
