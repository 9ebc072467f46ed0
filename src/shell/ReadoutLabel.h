// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFontMetricsF>
#include <QHash>
#include <QLabel>
#include <map>

#include "TextFit.h"

// A text that the window shows and a screen reader must be able to read: the display, the
// indicators, the memory panels, the currency strip, the equivalence cells and the headings.
// A plain QLabel with an accessible name hides its text from assistive tools; this class has an
// accessibility interface of its own (ShellAccessibility) that reads the text as shown.
//
// The whole text is always shown: when it is wider than the field, the font shrinks to the
// largest size that fits (never larger than the layout's). Only in a field given a decimal
// separator (amounts and rates), and only below a legible floor, the end of the decimals gives
// way to "…". text(), the accessible text and the tooltip of a reduced text stay whole.
//
// The frame is the layout's: a one-pixel outer bevel (BevelOuter) inside an optional single flat
// border (BorderStyle), in the classic system colours; without either, QFrame's own frame.
class ReadoutLabel : public QLabel {
  Q_OBJECT
  Q_PROPERTY(TBevelCut BevelOuter READ BevelOuter WRITE setBevelOuter)
  Q_PROPERTY(TBorderStyle BorderStyle READ BorderStyle WRITE setBorderStyle)

 public:
  enum TBevelCut { bvNone, bvLowered, bvRaised };
  Q_ENUM(TBevelCut)
  enum TBorderStyle { bsNone, bsSingle };
  Q_ENUM(TBorderStyle)

  explicit ReadoutLabel(QWidget* parent = nullptr);

  // Shows `text`; tells assistive tools when it changed. Nothing happens when it is the text
  // shown already.
  void SetCaption(const QString& text);

  // Makes this an amount field whose decimals follow `separator`.
  void SetDecimalSeparator(QChar separator);

  TBevelCut BevelOuter() const { return bevel_outer_; }
  void setBevelOuter(TBevelCut bevel);
  TBorderStyle BorderStyle() const { return border_style_; }
  void setBorderStyle(TBorderStyle style);

  // The text as it is drawn now and its font size in pixels.
  dravello::FittedText Shown() const;
  // The font size of the layout, the largest that is used.
  int LayoutPixelSize() const;
  // The width in pixels that the text may take.
  int TextRoom() const;

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void FrameChanged();
  QRect TextRect() const;

  TBevelCut bevel_outer_ = bvNone;
  TBorderStyle border_style_ = bsNone;
  QChar decimal_separator_;
  // The metrics of the label's font at `pixel_size`, made once per size.
  const QFontMetricsF& MetricsAt(int pixel_size) const;

  // Fitted texts by text, for the present size and font; a text met again costs a look-up.
  mutable QHash<QString, dravello::FittedText> fits_;
  mutable std::map<int, QFontMetricsF> metrics_;
};
