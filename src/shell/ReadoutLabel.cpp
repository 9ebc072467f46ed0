// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadoutLabel.h"

#include <QAccessible>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <cmath>

#include "Frame3D.h"
#include "QtColor.h"

namespace {

// The legible floor: the smallest text of the layouts, 10 pixels at their 120 dpi.
constexpr int kFloorDesignPixels = 10;
constexpr int kDesignDpi = 120;
// Enough for every value a field shows in a session of ordinary use.
constexpr int kMaxCachedFits = 64;

}  // namespace

ReadoutLabel::ReadoutLabel(QWidget* parent) : QLabel(parent) {
  // Texts are shown as they stand: an '&' is an ampersand, and "<b>" is not markup.
  setTextFormat(Qt::PlainText);
}

void ReadoutLabel::SetCaption(const QString& text) {
  const QString old = this->text();
  if (text == old) return;
  setText(text);
  if (QAccessible::isActive()) {
    QAccessibleTextUpdateEvent event(this, 0, old, text);
    QAccessible::updateAccessibility(&event);
  }
}

void ReadoutLabel::SetDecimalSeparator(QChar separator) {
  if (separator == decimal_separator_) return;
  decimal_separator_ = separator;
  fits_.clear();
  update();
}

void ReadoutLabel::setBevelOuter(TBevelCut bevel) {
  if (bevel == bevel_outer_) return;
  bevel_outer_ = bevel;
  FrameChanged();
}

void ReadoutLabel::setBorderStyle(TBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  FrameChanged();
}

void ReadoutLabel::FrameChanged() {
  if (bevel_outer_ != bvNone || border_style_ != bsNone) {
    // The frame is drawn here; QFrame's own would draw over it.
    setFrameStyle(QFrame::NoFrame);
    const int width = (bevel_outer_ != bvNone ? 1 : 0) + (border_style_ != bsNone ? 1 : 0);
    setContentsMargins(width, width, width, width);
  } else {
    setContentsMargins(0, 0, 0, 0);
  }
  fits_.clear();
  update();
}

int ReadoutLabel::LayoutPixelSize() const {
  const int size = font().pixelSize();
  return size > 0 ? size : QFontInfo(font()).pixelSize();
}

QRect ReadoutLabel::TextRect() const {
  // A pixel on either side for the ink that glyphs may put beyond their advance.
  const int m = margin();
  return contentsRect().adjusted(m + 1, m, -m - 1, -m);
}

int ReadoutLabel::TextRoom() const {
  return std::max(0, TextRect().width());
}

dravello::FittedText ReadoutLabel::Shown() const {
  const QString whole = text();
  if (const auto it = fits_.constFind(whole); it != fits_.constEnd()) return *it;
  dravello::FitRules rules;
  rules.layout_size = LayoutPixelSize();
  rules.legible_floor = static_cast<int>(
      std::lround(double(kFloorDesignPixels) * logicalDpiY() / double(kDesignDpi)));
  rules.decimal_separator = decimal_separator_;
  const auto measure = [this](int pixel_size, const QString& t) {
    return MetricsAt(pixel_size).horizontalAdvance(t);
  };
  const dravello::FittedText fitted = dravello::FitText(whole, TextRoom(), rules, measure);
  if (fits_.size() >= kMaxCachedFits) fits_.clear();
  fits_.insert(whole, fitted);
  return fitted;
}

const QFontMetricsF& ReadoutLabel::MetricsAt(int pixel_size) const {
  auto it = metrics_.find(pixel_size);
  if (it == metrics_.end()) {
    QFont sized = font();
    sized.setPixelSize(pixel_size);
    it = metrics_.emplace(pixel_size, QFontMetricsF(sized, this)).first;
  }
  return it->second;
}

bool ReadoutLabel::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
    // A reduced text shows whole in its tooltip; a field with a hint of its own keeps the hint.
    const dravello::FittedText shown = Shown();
    if (shown.shown != text() || shown.pixel_size < LayoutPixelSize()) {
      QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text(), this);
    } else {
      QToolTip::hideText();
      event->ignore();
    }
    return true;
  }
  return QLabel::event(event);
}

void ReadoutLabel::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  if (bevel_outer_ == bvNone && border_style_ == bsNone) {
    drawFrame(&painter);
  } else {
    using namespace dravello;
    QRect r = rect();
    if (border_style_ == bsSingle) {
      const QColor frame = ClassicColor(kSysWindowFrame);
      r = Frame3D(painter, r, frame, frame);
    }
    const QColor light = ClassicColor(kSysBtnHighlight);
    const QColor shadow = ClassicColor(kSysBtnShadow);
    if (bevel_outer_ == bvLowered) r = Frame3D(painter, r, shadow, light);
    if (bevel_outer_ == bvRaised) r = Frame3D(painter, r, light, shadow);
  }
  const dravello::FittedText shown = Shown();
  if (shown.shown.isEmpty()) return;
  QFont sized = font();
  if (shown.pixel_size != LayoutPixelSize()) sized.setPixelSize(shown.pixel_size);
  painter.setFont(sized);
  painter.setPen(palette().color(foregroundRole()));
  painter.drawText(TextRect(), static_cast<int>(alignment()) | Qt::TextSingleLine, shown.shown);
  Q_UNUSED(event);
}

void ReadoutLabel::resizeEvent(QResizeEvent* event) {
  fits_.clear();
  QLabel::resizeEvent(event);
}

void ReadoutLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
      event->type() == QEvent::ContentsRectChange) {
    fits_.clear();
    metrics_.clear();
  }
  QLabel::changeEvent(event);
}
