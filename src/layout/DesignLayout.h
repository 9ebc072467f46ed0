// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "MulDiv.h"  // the one rounding rule of every scaling: a * b / c, halves away from zero
#include "WinColor.h"

class QWidget;

namespace dravello {

// Window layouts are designed at 120 pixels per inch and scaled to the screen when a window is
// created, by numerator / denominator: 96 / 120 on a standard screen.
struct DesignScale {
  int numerator = 120;
  int denominator = 120;
};

// The scale for the screen that `widget` will show on: its logical pixels per inch over 120.
DesignScale ScaleForScreen(const QWidget* widget);

// Brings a window built from its stored layout to the screen: the window takes the classic
// palette (ClassicPalette), so every colour comes from the layout or from the classic values of
// the system colours it names, whatever the desktop's theme; every position and size of
// `form` and its descendants (the window's own size included) is scaled edge by edge, so
// neighbours stay neighbours; fonts take the height in design pixels of their "FontHeight"
// property, scaled, and Arial stands in for the Windows fonts "Small Fonts", "System" and
// "MS Sans Serif"; the layout's own look properties of plain Qt widgets are applied:
// "Color" (background) and "FontColor" (text), both 0x00BBGGRR; and a one-line label whose text
// is wider than its place at that font takes the largest size at which the text fits.
void ApplyDesign(QWidget* form, DesignScale scale);

// The background colour of a plain widget (a panel, a label, the list).
void SetBackground(QWidget* widget, WinColor colour);
// The text colour of a plain widget; of a list, the colour of its lines only.
void SetTextColour(QWidget* widget, WinColor colour);

}  // namespace dravello
