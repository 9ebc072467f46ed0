// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "WinColor.h"

// A filled rounded rectangle whose brush colour shows a state: `ShapeVisible`, olive while the
// window is ordinary and lime while it stays on top.
class IndicatorShape : public QWidget {
  Q_OBJECT
  // Windows colour values 0x00BBGGRR.
  Q_PROPERTY(uint BrushColor READ BrushColor WRITE SetBrushColor)
  Q_PROPERTY(uint PenColor READ PenColor WRITE SetPenColor)

 public:
  explicit IndicatorShape(QWidget* parent = nullptr);

  dravello::WinColor BrushColor() const { return brush_; }
  void SetBrushColor(dravello::WinColor colour);
  dravello::WinColor PenColor() const { return pen_; }
  void SetPenColor(dravello::WinColor colour);

  // What a screen reader reads: the state the colour stands for.
  QString StateText() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  dravello::WinColor brush_ = 0xFFFFFF;
  dravello::WinColor pen_ = 0x000000;
};
