// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QColor;
class QPainter;
class QRect;
class QWidget;

namespace dravello {

// Draws the classic focus frame of the desktop the window layouts were drawn for, with Qt's
// "Windows" style: a dotted one-pixel rectangle along the inside of `rect`, in the inverse of
// `background`, so that it shows on every face colour. (The Fusion style's own frame is a
// faint tint that vanishes on the calculator's dark buttons.) It is drawn whether the focus
// came by the keyboard or by program code, for the window puts the focus back after every
// command. `widget` is the control painted on.
void DrawFocusFrame(QPainter& painter, const QRect& rect, const QColor& background,
                    const QWidget* widget);

}  // namespace dravello
