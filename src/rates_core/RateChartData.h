// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace dravello {

// Everything the chart of a rate's history shows, worked out and written in advance, so that
// the chart module only draws it. Texts are UTF-8; values are in the regional notation.
struct RateChartPoint {
  std::int64_t day = 0;  // days since 1970-01-01
  double value = 0;      // base units per unit of the currency
  std::string date;      // "07/12/2026"
  std::string value_text;
};

struct RateChartTick {
  double at = 0;
  std::string label;
};

struct RateChartData {
  std::string title;                   // "Evolución del cambio: 1 USD en Pts"
  std::string summary;                 // the whole story in one paragraph, for every reader
  std::string value_heading;           // "Pts por 1 USD"
  std::string note;                    // where the data came from, when it is worth saying
  std::vector<RateChartPoint> points;  // oldest first, at least one
  std::size_t lowest = 0;              // indexes of the minimum and the maximum in `points`
  std::size_t highest = 0;
  std::optional<double> table_rate;  // the rate of the currency table
  std::string table_rate_text;
  double low = 0;  // the value axis, which holds every point and the table's rate
  double high = 0;
  std::vector<RateChartTick> value_ticks;
  std::vector<RateChartTick> day_ticks;
};

}  // namespace dravello
