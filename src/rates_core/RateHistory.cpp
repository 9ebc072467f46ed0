// SPDX-License-Identifier: GPL-3.0-or-later
#include "RateHistory.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "Cp1252.h"
#include "CurrencyCodes.h"
#include "IsoDates.h"
#include "RatesStamp.h"
#include "TMoneda.h"

namespace dravello {

namespace {

// `value` (positive) with `decimals` decimals and the regional separator, no grouping.
std::string Fixed(double value, int decimals, char separator) {
  char buffer[400];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, error == std::errc() ? end : buffer);
  std::replace(text.begin(), text.end(), '.', separator);
  return text;
}

int Magnitude(double value) {
  return value > 0 ? static_cast<int>(std::floor(std::log10(value))) : 0;
}

// Decimals that give the largest value six significant digits.
int DecimalsFor(double largest) {
  return std::clamp(5 - Magnitude(largest), 0, 24);
}

// A step of 1, 2 or 5 times a power of ten, near a fifth of `span`.
double NiceStep(double span) {
  const double rough = span / 5;
  const double power = std::pow(10.0, std::floor(std::log10(rough)));
  for (const double mantissa : {1.0, 2.0, 5.0}) {
    if (rough <= mantissa * power) return mantissa * power;
  }
  return 10 * power;
}

std::string Text(const std::string& cp1252) {
  return Cp1252ToUtf8(cp1252);
}

}  // namespace

HistoryFault MakeRateChart(const std::vector<EuroRates>& days, const RateChartRequest& request,
                           RateChartData& data) {
  const std::string base_name =
      request.base.empty() ? "Pts" : request.base.substr(0, kMaxAbreviatura);
  const std::string currency_name = request.currency.substr(0, kMaxAbreviatura);
  const std::string base_code = CurrencyCode(base_name);
  const std::string code = CurrencyCode(currency_name);

  RateChartData chart;
  bool base_known = false;
  for (const EuroRates& day : days) {
    const std::optional<double> base =
        base_code.empty() ? std::nullopt : day.UnitsPerEuro(base_code);
    base_known = base_known || base.has_value();
    const std::optional<double> units = code.empty() ? std::nullopt : day.UnitsPerEuro(code);
    if (!base || !units) continue;
    const long double value = static_cast<long double>(*base) / static_cast<long double>(*units);
    chart.points.push_back(
        {DayNumber(day.Date()), static_cast<double>(value), SpanishDate(day.Date()), {}});
  }
  if (chart.points.empty()) {
    return base_known ? HistoryFault::kCurrencyUnknown : HistoryFault::kBaseUnknown;
  }
  std::sort(chart.points.begin(), chart.points.end(),
            [](const RateChartPoint& a, const RateChartPoint& b) { return a.day < b.day; });

  const auto& points = chart.points;
  const auto by_value = [](const RateChartPoint& a, const RateChartPoint& b) {
    return a.value < b.value;
  };
  chart.lowest = static_cast<std::size_t>(std::min_element(points.begin(), points.end(), by_value) -
                                          points.begin());
  chart.highest = static_cast<std::size_t>(
      std::max_element(points.begin(), points.end(), by_value) - points.begin());
  double lo = points[chart.lowest].value, hi = points[chart.highest].value;
  if (request.table_rate) {
    lo = std::min(lo, *request.table_rate);
    hi = std::max(hi, *request.table_rate);
  }
  const int decimals = DecimalsFor(hi);
  const char sep = request.decimal_separator;
  for (RateChartPoint& point : chart.points) point.value_text = Fixed(point.value, decimals, sep);
  chart.table_rate = request.table_rate;
  if (request.table_rate) chart.table_rate_text = Fixed(*request.table_rate, decimals, sep);

  // The value axis: the values with a margin, and its ticks.
  const double span = hi > lo ? hi - lo : std::max(std::fabs(hi) * 0.02, 1e-9);
  chart.low = std::max(0.0, lo - span * 0.1);
  chart.high = hi + span * 0.1;
  const double step = NiceStep(chart.high - chart.low);
  const int step_decimals = std::clamp(-Magnitude(step), 0, 24);
  for (double k = std::ceil(chart.low / step); k * step <= chart.high; k += 1) {
    chart.value_ticks.push_back({k * step, Fixed(k * step, step_decimals, sep)});
  }
  // The days: the first and the last, and three between.
  const std::int64_t first = points.front().day, last = points.back().day;
  for (int i = 0; i <= 4 && (i == 0 || last > first); ++i) {
    const std::int64_t day = first + (last - first) * i / 4;
    chart.day_ticks.push_back({static_cast<double>(day), SpanishDate(IsoDate(day)).substr(0, 5)});
  }

  const std::string base = Text(base_name), currency = Text(currency_name);
  chart.title = "Evolución del cambio: 1 " + currency + " en " + base;
  chart.value_heading = base + " por 1 " + currency;
  const RateChartPoint& low_point = points[chart.lowest];
  const RateChartPoint& high_point = points[chart.highest];
  chart.summary = "1 " + currency + " en " + base + " del " + points.front().date + " al " +
                  points.back().date + ", " + std::to_string(points.size()) +
                  (points.size() == 1 ? " día" : " días") + " con cambio publicado (" +
                  SourceName(request.source) + "). Mínimo: " + low_point.value_text + " el " +
                  low_point.date + ". Máximo: " + high_point.value_text + " el " + high_point.date +
                  ". Último: " + points.back().value_text + " el " + points.back().date + ".";
  if (request.table_rate) chart.summary += " Cambio de la tabla: " + chart.table_rate_text + ".";
  data = std::move(chart);
  return HistoryFault::kNone;
}

}  // namespace dravello
