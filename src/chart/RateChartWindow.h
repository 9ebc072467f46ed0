// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "RateChartView.h"

class QChart;
class QChartView;
class QLabel;
class QStackedWidget;
class QTableWidget;

namespace dravello {

// "Evolución del cambio": a rate over the last days as a line, with the table's rate (a dashed
// line), the minimum and the maximum marked. The value of each day shows on hover, and the same
// values stand in a table beside the chart, which the keyboard and screen readers reach; a
// paragraph above says it all in words. Until the data is there, or when there is none, a
// message takes the chart's place. Esc and "Cerrar" close it.
class RateChartWindow : public QDialog, public RateChartView {
  Q_OBJECT

 public:
  explicit RateChartWindow(QWidget* parent = nullptr);

  void ShowMessage(const std::string& text) override;
  void ShowChart(const RateChartData& data) override;
  void Exec() override;

 private:
  void ShowPointAt(double day);

  RateChartData data_;
  QLabel* summary_;
  QLabel* message_;
  QLabel* note_;
  QStackedWidget* pages_;
  QChartView* view_;
  QTableWidget* table_;
};

}  // namespace dravello
