// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "EuroRates.h"
#include "RateChartData.h"

namespace dravello {

// The chart of how one currency's rate moved against the base, from the days of a history
// feed.
struct RateChartRequest {
  std::string base;      // abbreviations as the table has them (Windows-1252); an empty base is
  std::string currency;  // "Pts"
  std::optional<double> table_rate;
  char decimal_separator = ',';
  std::string source;  // the feed's host
};

enum class HistoryFault {
  kNone,
  kBaseUnknown,      // no day knows the base currency
  kCurrencyUnknown,  // no day knows the currency (a currency of the user's own)
};

// Each day of `days` that knows both currencies gives a point: the base's units per euro over
// the currency's (in extended precision, as the table's rates are worked out), the euro's
// predecessors at their fixed rates. On a fault `data` is left as it was.
HistoryFault MakeRateChart(const std::vector<EuroRates>& days, const RateChartRequest& request,
                           RateChartData& data);

}  // namespace dravello
