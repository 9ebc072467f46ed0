// SPDX-License-Identifier: GPL-3.0-or-later
#include "TextFit.h"

#include <algorithm>

namespace dravello {

namespace {

const QChar kEllipsis(0x2026);

// The largest size from `low` to `high` at which `fits` holds, or 0.
template <typename Fits>
int LargestSize(int low, int high, const Fits& fits) {
  int found = 0;
  while (low <= high) {
    const int mid = low + (high - low) / 2;
    if (fits(mid)) {
      found = mid;
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return found;
}

// The same, stepping from `guess`: a good guess costs two or three measurements.
template <typename Fits>
int LargestSizeFrom(int guess, int low, int high, const Fits& fits) {
  if (low > high) return 0;
  int size = std::clamp(guess, low, high);
  if (fits(size)) {
    while (size < high && fits(size + 1)) ++size;
    return size;
  }
  while (size > low) {
    if (fits(--size)) return size;
  }
  return 0;
}

}  // namespace

int CuttableDecimals(const QString& text, QChar decimal_separator) {
  if (decimal_separator.isNull()) return -1;
  const auto n = text.size();
  qsizetype i = n;
  while (i > 0 && text[i - 1].isDigit()) --i;
  if (i == n || i == 0 || text[i - 1] != decimal_separator) return -1;
  return static_cast<int>(i);
}

FittedText FitText(const QString& text, double room, const FitRules& rules,
                   const MeasureText& measure) {
  const int layout = std::max(1, rules.layout_size);
  const auto fits_whole = [&](int size) { return measure(size, text) <= room; };
  if (text.isEmpty()) return {layout, text};
  const double full = measure(layout, text);
  if (full <= room) return {layout, text};

  // Widths grow about in proportion to the size: the search starts where that puts it.
  const int whole = LargestSizeFrom(static_cast<int>(layout * std::max(room, 0.0) / full), 1,
                                    layout - 1, fits_whole);
  const int floor = std::clamp(rules.legible_floor, 1, layout);
  const int first_decimal = CuttableDecimals(text, rules.decimal_separator);
  if (whole >= floor || first_decimal < 0) return {std::max(whole, 1), text};

  // Below the floor: as many decimals as fit at `size`, the rest replaced by the ellipsis.
  const auto cut = [&](int keep) { return text.left(keep) + kEllipsis; };
  const auto longest_cut = [&](int size) -> QString {
    const int keep = LargestSize(first_decimal, static_cast<int>(text.size()) - 1,
                                 [&](int k) { return measure(size, cut(k)) <= room; });
    return keep == 0 ? QString() : cut(keep);  // keep is at least first_decimal, never 0
  };
  if (const QString shown = longest_cut(floor); !shown.isNull()) return {floor, shown};

  // Not even the integer digits fit at the floor: smaller still, with every integer digit, and
  // whole if the whole text fits at that size too.
  const QString minimal = cut(first_decimal);
  const int size =
      std::max(1, LargestSize(1, floor - 1, [&](int s) { return measure(s, minimal) <= room; }));
  if (whole >= size) return {std::max(whole, 1), text};
  const QString shown = longest_cut(size);
  return {size, shown.isNull() ? minimal : shown};
}

}  // namespace dravello
