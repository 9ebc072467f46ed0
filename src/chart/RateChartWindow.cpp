// SPDX-License-Identifier: GPL-3.0-or-later
#include "RateChartWindow.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolTip>
#include <QVBoxLayout>
#include <cmath>

namespace dravello {

namespace {

QString Text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

QCategoryAxis* Axis(const std::vector<RateChartTick>& ticks, double low, double high) {
  auto* axis = new QCategoryAxis;
  axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  axis->setStartValue(low);
  axis->setRange(low, high);
  for (const RateChartTick& tick : ticks) axis->append(Text(tick.label), tick.at);
  return axis;
}

QScatterSeries* Mark(const QString& name, const RateChartPoint& point, QColor colour) {
  auto* mark = new QScatterSeries;
  mark->setName(name);
  mark->setColor(colour);
  mark->setMarkerSize(11);
  mark->append(double(point.day), point.value);
  return mark;
}

}  // namespace

RateChartWindow::RateChartWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Evolución del cambio"));
  setAccessibleName(windowTitle());
  summary_ = new QLabel;
  summary_->setWordWrap(true);
  summary_->setTextFormat(Qt::PlainText);
  summary_->setAccessibleName(QStringLiteral("Resumen"));
  message_ = new QLabel;
  message_->setWordWrap(true);
  message_->setTextFormat(Qt::PlainText);
  message_->setAlignment(Qt::AlignCenter);
  message_->setAccessibleName(QStringLiteral("Aviso"));
  note_ = new QLabel;
  note_->setWordWrap(true);
  note_->setTextFormat(Qt::PlainText);
  note_->setAccessibleName(QStringLiteral("Nota"));
  note_->hide();

  view_ = new QChartView;
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setMinimumSize(520, 320);
  view_->setFocusPolicy(Qt::NoFocus);
  table_ = new QTableWidget(0, 3);
  table_->setAccessibleName(QStringLiteral("Valores del cambio"));
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->verticalHeader()->hide();
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setTabKeyNavigation(false);
  table_->setMinimumWidth(300);

  auto* chart_page = new QWidget;
  auto* chart_row = new QHBoxLayout(chart_page);
  chart_row->setContentsMargins(0, 0, 0, 0);
  chart_row->addWidget(view_, 3);
  chart_row->addWidget(table_, 2);
  pages_ = new QStackedWidget;
  pages_->addWidget(message_);
  pages_->addWidget(chart_page);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  QPushButton* close = buttons->button(QDialogButtonBox::Close);
  close->setText(QStringLiteral("&Cerrar"));
  close->setAccessibleName(QStringLiteral("Cerrar"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(summary_);
  layout->addWidget(pages_, 1);
  layout->addWidget(note_);
  layout->addWidget(buttons);
  resize(900, 480);
  close->setFocus();
}

void RateChartWindow::ShowMessage(const std::string& text) {
  summary_->clear();
  message_->setText(Text(text));
  setAccessibleDescription(message_->text());
  pages_->setCurrentWidget(message_);
}

void RateChartWindow::ShowChart(const RateChartData& data) {
  data_ = data;
  setWindowTitle(Text(data.title));
  summary_->setText(Text(data.summary));
  setAccessibleDescription(summary_->text());
  note_->setText(Text(data.note));
  note_->setVisible(!data.note.empty());

  auto* chart = new QChart;
  chart->legend()->setAlignment(Qt::AlignBottom);
  auto* line = new QLineSeries;
  line->setName(QStringLiteral("Cambio"));
  line->setPointsVisible(true);
  for (const RateChartPoint& point : data.points) line->append(double(point.day), point.value);
  chart->addSeries(line);
  const double first = double(data.points.front().day), last = double(data.points.back().day);
  if (data.table_rate) {
    auto* table_rate = new QLineSeries;
    table_rate->setName(QStringLiteral("Tabla: %1").arg(Text(data.table_rate_text)));
    QPen pen(Qt::darkGray, 1.5, Qt::DashLine);
    table_rate->setPen(pen);
    table_rate->append(first, *data.table_rate);
    table_rate->append(last, *data.table_rate);
    chart->addSeries(table_rate);
  }
  const RateChartPoint& low = data.points[data.lowest];
  const RateChartPoint& high = data.points[data.highest];
  chart->addSeries(
      Mark(QStringLiteral("Mínimo: %1").arg(Text(low.value_text)), low, QColor(0x1f, 0x77, 0xb4)));
  chart->addSeries(Mark(QStringLiteral("Máximo: %1").arg(Text(high.value_text)), high,
                        QColor(0xd6, 0x27, 0x28)));

  // One day of margin on either side, so that the first and last points are not cut.
  QCategoryAxis* days = Axis(data.day_ticks, first - 1, std::max(last, first + 1) + 1);
  QCategoryAxis* values = Axis(data.value_ticks, data.low, data.high);
  chart->addAxis(days, Qt::AlignBottom);
  chart->addAxis(values, Qt::AlignLeft);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(days);
    series->attachAxis(values);
  }
  connect(line, &QLineSeries::hovered, this, [this](const QPointF& point, bool state) {
    if (state) ShowPointAt(point.x());
  });
  QChart* old = view_->chart();
  view_->setChart(chart);
  delete old;
  view_->setAccessibleName(Text(data.title));
  view_->setAccessibleDescription(Text(data.summary));

  table_->clear();
  table_->setRowCount(int(data.points.size()));
  table_->setHorizontalHeaderLabels(
      {QStringLiteral("Fecha"), Text(data.value_heading), QStringLiteral("Marca")});
  for (int row = 0; row < int(data.points.size()); ++row) {
    const RateChartPoint& point = data.points[std::size_t(row)];
    QString mark;
    if (std::size_t(row) == data.lowest) mark = QStringLiteral("mínimo");
    if (std::size_t(row) == data.highest) mark = QStringLiteral("máximo");
    auto* value = new QTableWidgetItem(Text(point.value_text));
    value->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    table_->setItem(row, 0, new QTableWidgetItem(Text(point.date)));
    table_->setItem(row, 1, value);
    table_->setItem(row, 2, new QTableWidgetItem(mark));
  }
  table_->resizeColumnsToContents();
  table_->setCurrentCell(int(data.points.size()) - 1, 0);
  pages_->setCurrentIndex(1);
  table_->setFocus();
}

void RateChartWindow::ShowPointAt(double day) {
  const auto nearest =
      std::min_element(data_.points.begin(), data_.points.end(),
                       [day](const RateChartPoint& a, const RateChartPoint& b) {
                         return std::fabs(double(a.day) - day) < std::fabs(double(b.day) - day);
                       });
  if (nearest == data_.points.end()) return;
  QToolTip::showText(
      QCursor::pos(),
      QStringLiteral("%1: %2 %3")
          .arg(Text(nearest->date), Text(nearest->value_text), Text(data_.value_heading)),
      view_);
}

void RateChartWindow::Exec() {
  exec();
}

}  // namespace dravello

extern "C" __attribute__((visibility("default"))) dravello::RateChartView*
dravello_new_rate_chart_view(QWidget* parent) {
  return new dravello::RateChartWindow(parent);
}
