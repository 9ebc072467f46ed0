// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QRect>

class QPainter;

namespace dravello {

// Draws a one-pixel 3-D frame on the outermost pixels of `rect`: `top` on the top row and the
// left column, `bottom` on the bottom row and the right column; the top-right and bottom-left
// corner pixels take `bottom`. Returns `rect` shrunk by one pixel on each side.
QRect Frame3D(QPainter& painter, const QRect& rect, const QColor& top, const QColor& bottom);

}  // namespace dravello
