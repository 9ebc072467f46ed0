// SPDX-License-Identifier: GPL-3.0-or-later
#include "FocusFrame.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFocusRect>

namespace dravello {

namespace {

// Made at the first focus frame, owned by the application.
QStyle* ClassicStyle(const QWidget* widget) {
  static QPointer<QStyle> style;
  if (style.isNull()) {
    style = QStyleFactory::create(QStringLiteral("Windows"));
    if (style) style->setParent(QCoreApplication::instance());
  }
  return style ? style.data() : widget->style();
}

}  // namespace

void DrawFocusFrame(QPainter& painter, const QRect& rect, const QColor& background,
                    const QWidget* widget) {
  QStyleOptionFocusRect option;
  option.initFrom(widget);
  option.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
  option.rect = rect;
  option.backgroundColor = background;
  ClassicStyle(widget)->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, widget);
}

}  // namespace dravello
