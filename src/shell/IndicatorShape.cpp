// SPDX-License-Identifier: GPL-3.0-or-later
#include "IndicatorShape.h"

#include <QAccessible>
#include <QPainter>

#include "QtColor.h"

namespace {
constexpr dravello::WinColor kLime = 0x00FF00;
}

IndicatorShape::IndicatorShape(QWidget* parent) : QWidget(parent) {}

void IndicatorShape::SetBrushColor(dravello::WinColor colour) {
  if (colour == brush_) return;
  const QString old = StateText();
  brush_ = colour;
  update();
  if (QAccessible::isActive()) {
    QAccessibleTextUpdateEvent event(this, 0, old, StateText());
    QAccessible::updateAccessibility(&event);
  }
}

void IndicatorShape::SetPenColor(dravello::WinColor colour) {
  if (colour == pen_) return;
  pen_ = colour;
  update();
}

QString IndicatorShape::StateText() const {
  return brush_ == kLime ? QStringLiteral("activado") : QStringLiteral("desactivado");
}

void IndicatorShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(dravello::ToQColor(pen_), 1));
  painter.setBrush(dravello::ToQColor(brush_));
  const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  const qreal radius = std::min(box.width(), box.height()) / 2;
  painter.drawRoundedRect(box, radius, radius);
}
