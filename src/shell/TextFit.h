// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

namespace dravello {

// How a one-line text is shown in a field: at the largest font size that fits, never larger
// than the layout's; an amount whose text does not fit even at the legible floor gives up the
// end of its decimals, replaced by "…". The digits before the decimal separator are never cut:
// when they alone do not fit at the floor, the font shrinks further.
struct FittedText {
  int pixel_size = 0;  // the font size to draw with
  QString shown;       // the text to draw: the whole text, or its decimals cut with "…"
};

struct FitRules {
  int layout_size = 1;      // the layout's font size in pixels, the largest size used
  int legible_floor = 1;    // the smallest size at which decimals are kept
  QChar decimal_separator;  // where the decimals of an amount begin; QChar() cuts nothing
};

// The width in pixels of `text` drawn at font size `pixel_size`.
using MeasureText = std::function<double(int pixel_size, const QString& text)>;

// `room` is the width available in pixels. Widths are taken to grow with the size and the
// length of the text. A text that fits nowhere is shown whole at size 1.
FittedText FitText(const QString& text, double room, const FitRules& rules,
                   const MeasureText& measure);

// The index of the first decimal digit of `text` when it ends in `decimal_separator` and digits
// only (an amount, a memory panel, a rate in fixed notation), else -1: "1.234,56" gives 6;
// "1,5E-6", "M+" and "1.000" (no decimals, '.' grouping) give -1.
int CuttableDecimals(const QString& text, QChar decimal_separator);

}  // namespace dravello
