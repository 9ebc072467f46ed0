// SPDX-License-Identifier: GPL-3.0-or-later
#include "Frame3D.h"

#include <QPainter>

namespace dravello {

QRect Frame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom) {
  if (rect.isEmpty()) return rect;
  const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
  painter.fillRect(QRect(QPoint(l, t), QPoint(r, t)), top);
  painter.fillRect(QRect(QPoint(l, t), QPoint(l, b)), top);
  painter.fillRect(QRect(QPoint(r, t), QPoint(r, b)), bottom);
  painter.fillRect(QRect(QPoint(l, b), QPoint(r, b)), bottom);
  return rect.adjusted(1, 1, -1, -1);
}

}  // namespace dravello
