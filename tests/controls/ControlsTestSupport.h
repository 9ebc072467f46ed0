// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the widget tests of the controls.

#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdint>

#include "QtColor.h"
#include "TickCounter.h"

namespace controls_test {

// The colour that a Windows colour value 0x00BBGGRR paints.
inline QColor Rgb(std::uint32_t bgr) {
  return dravello::ToQColor(bgr);
}

inline QColor Pixel(const QImage& image, int x, int y) {
  return QColor(image.pixel(x, y));
}

// The widget's picture as it paints it now.
inline QImage Grab(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A tick counter that advances `step` milliseconds at every reading, installed for the life of
// the object.
class SteppingCounter : public dravello::TickCounter {
 public:
  SteppingCounter(std::uint32_t start, std::uint32_t step) : now_(start), step_(step) {
    Install(this);
  }
  ~SteppingCounter() override { Install(nullptr); }
  std::uint32_t Now() override {
    ++reads;
    const std::uint32_t value = now_;
    now_ += step_;
    return value;
  }
  int reads = 0;

 private:
  std::uint32_t now_;
  std::uint32_t step_;
};

}  // namespace controls_test
