// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "RateChartData.h"

class QWidget;

namespace dravello {

// The window that shows a rate's history, made by the chart module (src/chart), which the
// program loads, and Qt Charts with it, when the first chart is opened.
class RateChartView {
 public:
  virtual ~RateChartView() = default;

  // A text in place of the chart: that it is being fetched, or why there is none (UTF-8).
  virtual void ShowMessage(const std::string& text) = 0;
  // The chart, and its values as a table.
  virtual void ShowChart(const RateChartData& data) = 0;
  // Shows the window, modal, and returns when the user has closed it.
  virtual void Exec() = 0;
};

// The module's entry: a new window over `parent`, which the caller deletes.
using NewRateChartViewFunction = RateChartView* (*)(QWidget* parent);
inline constexpr const char* kChartModule = "dravello-chart";
inline constexpr const char* kNewRateChartViewSymbol = "dravello_new_rate_chart_view";

}  // namespace dravello
