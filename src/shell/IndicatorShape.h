// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "CalculatorView.h"

// A filled rounded rectangle whose brush colour shows a state: `ShapeVisible`, olive while the
// window is ordinary and lime while it stays on top.
class IndicatorShape : public QWidget {
  Q_OBJECT
  // Windows colour values 0x00BBGGRR.
  Q_PROPERTY(uint BrushColor READ BrushColor WRITE SetBrushColor)
  Q_PROPERTY(uint PenColor READ PenColor WRITE SetPenColor)

 public:
  explicit IndicatorShape(QWidget* parent = nullptr);

  dravello::Color BrushColor() const { return brush_; }
  void SetBrushColor(dravello::Color colour);
  dravello::Color PenColor() const { return pen_; }
  void SetPenColor(dravello::Color colour);

  // What a screen reader reads: the state the colour stands for.
  QString StateText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  dravello::Color brush_ = 0xFFFFFF;
  dravello::Color pen_ = 0x000000;
};
