// SPDX-License-Identifier: GPL-3.0-or-later
#include "TGradBtn.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>
#include <utility>

#include "Frame3D.h"
#include "MulDiv.h"

using dravello::MulDiv;
using dravello::WinColor;

namespace {

// The colour of band i of n: begin + md(i, end - begin, n) in each channel, the top bytes of
// both colours ignored.
QColor BandColor(WinColor begin, WinColor end, int i, int n) {
  int channel[3];
  for (int k = 0; k < 3; ++k) {
    const int b = static_cast<int>((begin >> (8 * k)) & 0xFF);
    const int e = static_cast<int>((end >> (8 * k)) & 0xFF);
    channel[k] = std::clamp(b + MulDiv(i, e - b, n), 0, 255);
  }
  return QColor(channel[0], channel[1], channel[2]);
}

// Fills the box whose corners are the four numbers truncated toward zero, covering its left and
// top edges but not its right and bottom ones. A box of no size, or whose corners have crossed,
// fills nothing.
void FillBox(QPainter& painter, double left, double top, double right, double bottom,
             const QColor& color, bool ellipse) {
  const int l = static_cast<int>(std::trunc(left));
  const int t = static_cast<int>(std::trunc(top));
  const int r = static_cast<int>(std::trunc(right));
  const int b = static_cast<int>(std::trunc(bottom));
  if (r <= l || b <= t) return;
  const QRect box(l, t, r - l, b - t);
  if (ellipse) {
    painter.setBrush(color);
    painter.drawEllipse(box);
  } else {
    painter.fillRect(box, color);
  }
}

void PaintGradient(QPainter& painter, int w, int h, TGradBtn::TGradientStyle style, WinColor begin,
                   WinColor end) {
  painter.setPen(Qt::NoPen);
  switch (style) {
    case TGradBtn::gsHorizontal:
      for (int i = 0; i <= 255; ++i) {
        const int x0 = MulDiv(i, w, 256), x1 = MulDiv(i + 1, w, 256);
        painter.fillRect(QRect(x0, 0, x1 - x0, h), BandColor(begin, end, i, 255));
      }
      break;
    case TGradBtn::gsVertical:
      for (int i = 0; i <= 255; ++i) {
        const int y0 = MulDiv(i, h, 256), y1 = MulDiv(i + 1, h, 256);
        painter.fillRect(QRect(0, y0, w, y1 - y0), BandColor(begin, end, i, 255));
      }
      break;
    case TGradBtn::gsElliptic: {
      double left = -w / 4.0, top = -h / 4.0, right = w + w / 4.0, bottom = h + h / 4.0;
      const double sx = (w / 4.0 + w / 2.0) / 155, sy = (h / 4.0 + h / 2.0) / 155;
      for (int i = 0; i <= 155; ++i) {
        left += sx, top += sy, right -= sx, bottom -= sy;
        FillBox(painter, left, top, right, bottom, BandColor(begin, end, i, 155), true);
      }
      break;
    }
    case TGradBtn::gsRectangle: {
      double left = 0, top = 0, right = w, bottom = h;
      const double sx = w / 2.0 / 255, sy = h / 2.0 / 255;
      for (int i = 0; i <= 255; ++i) {
        left += sx, top += sy, right -= sx, bottom -= sy;
        FillBox(painter, left, top, right, bottom, BandColor(begin, end, i, 255), false);
      }
      break;
    }
    case TGradBtn::gsVertCenter: {
      const int half = h / 2;
      if (half == 0) break;
      for (int i = 0; i <= half; ++i) {
        const int y0 = MulDiv(i, half, half), y1 = MulDiv(i + 1, half, half);
        const QColor color = BandColor(begin, end, i, half);
        painter.fillRect(QRect(0, y0, w, y1 - y0), color);
        painter.fillRect(QRect(0, h - y1, w, y1 - y0), color);
      }
      break;
    }
    case TGradBtn::gsHorizCenter: {
      const int half = w / 2;
      if (half == 0) break;
      for (int i = 0; i <= half; ++i) {
        const int x0 = MulDiv(i, half, half), x1 = MulDiv(i + 1, half, half);
        const QColor color = BandColor(begin, end, i, half);
        painter.fillRect(QRect(x0, 0, x1 - x0, h), color);
        painter.fillRect(QRect(w - x1, 0, x1 - x0, h), color);
      }
      break;
    }
  }
}

}  // namespace

TGradBtn::TGradBtn(QWidget* parent) : QWidget(parent) {
  resize(75, 25);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
}

TGradBtn::~TGradBtn() = default;

void TGradBtn::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
  }
}

void TGradBtn::SetColorProperty(WinColor& field, WinColor color) {
  if (field == color) return;
  field = color;
  update();
}

void TGradBtn::setBtnHiliteClr(WinColor color) {
  SetColorProperty(btn_hilite_, color);
}
void TGradBtn::setBtnShadowClr(WinColor color) {
  SetColorProperty(btn_shadow_, color);
}
void TGradBtn::setTxtHiliteClr(WinColor color) {
  SetColorProperty(txt_hilite_, color);
}
void TGradBtn::setTxtShadowClr(WinColor color) {
  SetColorProperty(txt_shadow_, color);
}
void TGradBtn::setBeginColor(WinColor color) {
  SetColorProperty(begin_color_, color);
}
void TGradBtn::setEndColor(WinColor color) {
  SetColorProperty(end_color_, color);
}

void TGradBtn::setSwapColors(bool on) {
  swap_colors_ = on;
}

void TGradBtn::setGradientStyle(TGradientStyle style) {
  if (style == gradient_style_) return;
  gradient_style_ = style;
  update();
}

void TGradBtn::setTextStyle(TTextStyle style) {
  if (style == text_style_) return;
  text_style_ = style;
  update();
}

void TGradBtn::setTextShadeType(TShadeType type) {
  if (type == text_shade_type_) return;
  text_shade_type_ = type;
  update();
}

WinColor TGradBtn::FontColor() const {
  return font_color_ ? *font_color_ : dravello::ToWinColor(palette().color(QPalette::WindowText));
}

void TGradBtn::setFontColor(WinColor color) {
  if (font_color_ == color) return;
  font_color_ = color;
  update();
}

void TGradBtn::resetFontColor() {
  if (!font_color_) return;
  font_color_.reset();
  update();
}

void TGradBtn::setTabStop(bool on) {
  setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void TGradBtn::Click() {
  emit clicked();
}

QImage TGradBtn::Render(QSize size) const {
  QImage image(size, QImage::Format_RGB32);
  RenderInto(image);
  return image;
}

void TGradBtn::RenderInto(QImage& image) const {
  using namespace dravello;
  // Drawn in the control's own pixels; an image of a higher device-pixel ratio takes the same
  // drawing at its finer resolution.
  const QSize size = (QSizeF(image.size()) / image.devicePixelRatio()).toSize();
  const int w = size.width(), h = size.height();
  if (w <= 0 || h <= 0) return;
  QPainter painter(&image);
  painter.setFont(font());
  const QPalette& pal = palette();
  // The bands leave a strip uncovered inside the frame of a gsRectangle button 510 pixels wide
  // or high, and the image holds no picture of its own yet: start from the begin colour.
  painter.fillRect(QRect(0, 0, w, h), ToQColor(begin_color_));
  PaintGradient(painter, w, h, gradient_style_, begin_color_, end_color_);

  const QColor light = ResolveColor(btn_hilite_, pal), dark = ResolveColor(btn_shadow_, pal);
  Frame3D(painter, QRect(0, 0, w, h), down_ ? dark : light, down_ ? light : dark);

  if (caption_.isEmpty()) return;
  const QFontMetrics metrics = painter.fontMetrics();
  const int d = down_ ? 1 : 0;
  const int cx = (w - metrics.horizontalAdvance(caption_)) / 2 + d;
  const int cy = (h - metrics.height()) / 2 + d + metrics.ascent();  // the baseline
  const auto copy = [&](int dx, int dy, const QColor& color) {
    painter.setPen(color);
    painter.drawText(QPoint(cx + dx, cy + dy), caption_);
  };
  const bool heavy = text_shade_type_ == stHeavy;
  const QColor text_light = ResolveColor(txt_hilite_, pal);
  const QColor text_dark = ResolveColor(txt_shadow_, pal);
  if (text_style_ == tsRaised) {
    copy(-1, -1, text_light);
    if (heavy) copy(1, 1, text_dark);
  } else if (text_style_ == tsInset) {
    if (heavy) copy(-1, -1, text_dark);
    copy(1, 1, text_light);
  }
  copy(0, 0, ResolveColor(FontColor(), pal));
}

void TGradBtn::paintEvent(QPaintEvent*) {
  // The picture has the device's resolution (two pixels a side at QT_SCALE_FACTOR=2), so the
  // caption and the ellipses are not a small picture enlarged.
  const qreal ratio = devicePixelRatioF();
  const QSize device = (QSizeF(size()) * ratio).toSize();
  if (bitmap_.size() != device || bitmap_.devicePixelRatio() != ratio) {
    bitmap_ = QImage(device, QImage::Format_RGB32);
    bitmap_.setDevicePixelRatio(ratio);
  }
  RenderInto(bitmap_);
  QPainter painter(this);
  painter.drawImage(0, 0, bitmap_);
}

void TGradBtn::mousePressEvent(QMouseEvent* event) {
  Press(event, event->button() == Qt::LeftButton);
}

void TGradBtn::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click shows the down state but clicks nothing.
  Press(event, false);
}

void TGradBtn::Press(QMouseEvent* event, bool arm_click) {
  const QPointer<TGradBtn> self(this);
  if (event->button() == Qt::LeftButton) click_armed_ = arm_click;
  emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
  if (self.isNull()) return;
  down_ = true;
  if (swap_colors_) std::swap(begin_color_, end_color_);
  update();
}

void TGradBtn::mouseReleaseEvent(QMouseEvent* event) {
  const QPointer<TGradBtn> self(this);
  const Qt::MouseButton button = event->button();
  const QPoint pos = event->position().toPoint();
  if (button == Qt::LeftButton) {
    const bool click = click_armed_ && rect().contains(pos);
    click_armed_ = false;
    if (click) emit clicked();
    if (self.isNull()) return;
  }
  // Qt delivers every release to the button that took the press, so the down state and the
  // colour exchange always end here, also for a right or middle release off the button.
  emit mouseUp(button, event->modifiers(), pos);
  if (self.isNull()) return;
  if (swap_colors_) std::swap(begin_color_, end_color_);
  down_ = false;
  update();
}

void TGradBtn::mouseMoveEvent(QMouseEvent* event) {
  emit mouseMove(event->buttons(), event->modifiers(), event->position().toPoint());
}

void TGradBtn::focusInEvent(QFocusEvent* event) {
  emit entered();
  QWidget::focusInEvent(event);
}

void TGradBtn::focusOutEvent(QFocusEvent* event) {
  emit exited();
  QWidget::focusOutEvent(event);
}

void TGradBtn::keyPressEvent(QKeyEvent* event) {
  emit keyDown(event);
  if (!event->text().isEmpty()) emit keyPress(event);
  QWidget::keyPressEvent(event);
}

void TGradBtn::keyReleaseEvent(QKeyEvent* event) {
  emit keyUp(event);
  QWidget::keyReleaseEvent(event);
}
