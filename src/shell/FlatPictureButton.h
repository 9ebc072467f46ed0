// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolButton>

#include "TextFit.h"

// A currency button: a flat button with its picture one pixel from the left edge and its
// caption centred in the room beside it. A caption wider than that room is shown whole in a
// smaller font (never larger than the layout's), not cut: captions are abbreviations of at most
// five characters, and every one of them must stay readable.
class FlatPictureButton : public QToolButton {
  Q_OBJECT

 public:
  explicit FlatPictureButton(QWidget* parent = nullptr);

  // The caption as it is drawn now and its font size in pixels.
  dravello::FittedText ShownCaption() const;
  // The width in pixels that the caption may take.
  int CaptionRoom() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QRect CaptionRect() const;

  // The caption and the room that fitted_ was computed for.
  mutable QString fitted_for_;
  mutable int fitted_room_ = -1;
  mutable dravello::FittedText fitted_;
  mutable bool fitted_valid_ = false;
};
