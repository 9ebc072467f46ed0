// SPDX-License-Identifier: GPL-3.0-or-later
#include "THighButton.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QTimerEvent>
#include <algorithm>
#include <climits>

#include "Accelerator.h"
#include "FocusFrame.h"
#include "Frame3D.h"
#include "TickCounter.h"

using dravello::WinColor;

namespace {

// Qt's mnemonic form of a caption that underlines only the character that counts.
QString QtMnemonicText(const dravello::CaptionParts& parts) {
  QString text;
  for (int i = 0; i < parts.shown.size(); ++i) {
    if (i == parts.underline) text += QLatin1Char('&');
    if (parts.shown.at(i) == QLatin1Char('&')) text += QLatin1Char('&');
    text += parts.shown.at(i);
  }
  return text;
}

}  // namespace

THighButton::THighButton(QWidget* parent) : QWidget(parent) {
  resize(185, 41);
  setFocusPolicy(Qt::TabFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  if (auto* app = qobject_cast<QApplication*>(QCoreApplication::instance())) {
    focus_connection_ = connect(app, &QApplication::focusChanged, this,
                                [this](QWidget*, QWidget* now) { FocusChanged(now); });
  }
}

THighButton::~THighButton() {
  disconnect(focus_connection_);
}

void THighButton::setCaption(const QString& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  update();
  if (QAccessible::isActive()) {
    QAccessibleEvent event(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
  }
}

void THighButton::setColor(WinColor color) {
  if (color == color_) return;
  color_ = color;
  update();
}

void THighButton::setFontColor(WinColor color) {
  if (color == font_color_) return;
  font_color_ = color;
  update();
}

void THighButton::setBevelOuter(TBevelCut bevel) {
  if (bevel == bevel_outer_) return;
  bevel_outer_ = bevel;
  update();
}

void THighButton::setBorderStyle(TBorderStyle style) {
  if (style == border_style_) return;
  border_style_ = style;
  update();
}

void THighButton::setCtl3D(bool on) {
  if (on == ctl3d_) return;
  ctl3d_ = on;
  update();
}

void THighButton::setCancel(bool cancel) {
  cancel_ = cancel;
}

void THighButton::setUpColor(WinColor color) {
  if (color == up_color_) return;
  up_color_ = color;
  color_ = color;
  update();
}

void THighButton::setDownColor(WinColor color) {
  down_color_ = color;
}

void THighButton::setUpColorFont(WinColor color) {
  if (color == up_color_font_) return;
  up_color_font_ = color;
  font_color_ = color;
  update();
}

void THighButton::setDownColorFont(WinColor color) {
  down_color_font_ = color;
}

void THighButton::setModalResult(int result) {
  modal_result_ = result;
}

void THighButton::setTabStop(bool on) {
  setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
}

void THighButton::ShowDown() {
  if (!down_) recorded_bevel_ = bevel_outer_;
  down_ = true;
  bevel_outer_ = bvLowered;
  color_ = down_color_;
  font_color_ = down_color_font_;
  repaint();
  NotifyPressedState();
}

void THighButton::ShowUp() {
  down_ = false;
  bevel_outer_ = recorded_bevel_;
  color_ = up_color_;
  font_color_ = up_color_font_;
  repaint();
  NotifyPressedState();
}

void THighButton::Flash(int ms) {
  const QPointer<THighButton> self(this);
  ShowDown();
  ++flashes_;
  // Wakes the event wait when the time is up, so that the wait sleeps instead of polling.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  dravello::TickCounter::Current().Wait(ms, [&](std::uint32_t remaining) {
    wake.start(static_cast<int>(std::min<std::uint32_t>(remaining, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    return !self.isNull();
  });
  if (self.isNull()) return;
  --flashes_;
  if (!keep_timer_.isActive()) ShowUp();
}

void THighButton::KeepDown(int ms) {
  keep_start_ = dravello::TickCounter::Current().Now();
  keep_ms_ = std::max(ms, 0);
  if (!down_) ShowDown();
  keep_timer_.start(keep_ms_ + 1, Qt::PreciseTimer, this);
}

void THighButton::timerEvent(QTimerEvent* event) {
  if (event->timerId() != keep_timer_.timerId()) {
    QWidget::timerEvent(event);
    return;
  }
  const std::uint32_t now = dravello::TickCounter::Current().Now();
  if (!dravello::TickCounter::Elapsed(keep_start_, now, keep_ms_)) {
    // Time is up when the elapsed time reaches keep_ms_ + 1.
    const std::uint32_t remaining = static_cast<std::uint32_t>(keep_ms_) - (now - keep_start_) + 1;
    keep_timer_.start(static_cast<int>(std::min<std::uint32_t>(remaining, INT_MAX)),
                      Qt::PreciseTimer, this);
    return;
  }
  keep_timer_.stop();
  if (flashes_ == 0 && down_) ShowUp();
}

void THighButton::Click() {
  emit clicked();
}

bool THighButton::WantsDialogKey(int key) const {
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return active_;
    case Qt::Key_Escape:
      return cancel_;
    default:
      return false;
  }
}

bool THighButton::WantsAccelerator(QChar typed) const {
  return dravello::MatchesAccelerator(typed, caption_);
}

void THighButton::paintEvent(QPaintEvent*) {
  using namespace dravello;
  QPainter painter(this);
  const QPalette& pal = palette();
  QRect r = rect();
  if (border_style_ == bsSingle) {
    if (ctl3d_) {
      r = Frame3D(painter, r, ResolveColor(kSysBtnShadow, pal),
                  ResolveColor(kSysBtnHighlight, pal));
      r = Frame3D(painter, r, ResolveColor(kSys3DDkShadow, pal), ResolveColor(kSys3DLight, pal));
    } else {
      const QColor frame = ResolveColor(kSysWindowFrame, pal);
      r = Frame3D(painter, r, frame, frame);
    }
  }
  const QColor light = ResolveColor(kSysBtnHighlight, pal);
  const QColor shadow = ResolveColor(kSysBtnShadow, pal);
  if (bevel_outer_ == bvRaised) r = Frame3D(painter, r, light, shadow);
  if (bevel_outer_ == bvLowered) r = Frame3D(painter, r, shadow, light);
  if (r.isEmpty()) return;
  painter.fillRect(r, ResolveColor(color_, pal));

  // One line centred in the space inside the bevel; the vertical centring uses the height of
  // the font's letters, so captions of one font line up whatever characters they hold.
  const CaptionParts parts = SplitCaption(caption_);
  painter.setClipRect(r);
  if (!parts.shown.isEmpty()) {
    painter.setFont(font());
    const int font_height = painter.fontMetrics().height();
    const int top = (r.top() + r.bottom() + 1 - font_height) / 2;
    painter.setPen(ResolveColor(font_color_, pal));
    painter.drawText(QRect(r.left(), top, r.width(), font_height),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextShowMnemonic |
                         Qt::TextExpandTabs,
                     QtMnemonicText(parts));
  }

  // The focus is where Return and the letters go.
  if (hasFocus())
    DrawFocusFrame(painter, r.adjusted(1, 1, -1, -1), ResolveColor(color_, pal), this);
}

void THighButton::mousePressEvent(QMouseEvent* event) {
  Press(event, event->button() == Qt::LeftButton);
}

void THighButton::mouseDoubleClickEvent(QMouseEvent* event) {
  // The second press of a double click: the down look and mouseDown, but no ModalResult step.
  Press(event, false);
}

void THighButton::Press(QMouseEvent* event, bool arm_click) {
  if (event->button() == Qt::LeftButton) click_armed_ = arm_click;
  ShowDown();
  emit mouseDown(event->button(), event->modifiers(), event->position().toPoint());
}

void THighButton::mouseReleaseEvent(QMouseEvent* event) {
  const QPointer<THighButton> self(this);
  const Qt::MouseButton button = event->button();
  const QPoint pos = event->position().toPoint();
  const bool inside = rect().contains(pos);
  if (button == Qt::LeftButton) {
    if (click_armed_ && inside) StoreModalResult();
    click_armed_ = false;
  }
  ShowUp();
  emit mouseUp(button, event->modifiers(), pos);
  // The left button holds the pointer, so its release counts wherever it happens; a release of
  // another button counts only over the button. Qt delivers those too: they end the down look
  // above but click nothing.
  if (!self.isNull() && (button == Qt::LeftButton || inside)) emit clicked();
}

void THighButton::StoreModalResult() {
  QWidget* top = window();
  if (top == this) return;
  if (auto* dialog = qobject_cast<QDialog*>(top)) {
    dialog->setResult(modal_result_);
    if (modal_result_ != 0 && dialog->isModal() && dialog->isVisible()) dialog->done(modal_result_);
    return;
  }
  top->setProperty("ModalResult", modal_result_);
}

void THighButton::keyPressEvent(QKeyEvent* event) {
  emit keyDown(event);
  if (!event->text().isEmpty()) emit keyPress(event);
  QWidget::keyPressEvent(event);
}

void THighButton::keyReleaseEvent(QKeyEvent* event) {
  emit keyUp(event);
  QWidget::keyReleaseEvent(event);
}

void THighButton::FocusChanged(QWidget* now) {
  // Focus moving to any control of this window decides which highlight button is active;
  // focus leaving the window (now is null or elsewhere) changes nothing.
  if (now != nullptr && now->window() == window()) active_ = (now == this);
}

void THighButton::NotifyPressedState() {
  if (!QAccessible::isActive()) return;
  QAccessible::State changed;
  changed.pressed = true;
  QAccessibleStateChangeEvent event(this, changed);
  QAccessible::updateAccessibility(&event);
}
