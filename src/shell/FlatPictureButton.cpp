// SPDX-License-Identifier: GPL-3.0-or-later
#include "FlatPictureButton.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {

constexpr int kPictureLeft = 1;
constexpr int kGap = 2;  // between the picture and the caption, and after the caption

constexpr int kFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;

}  // namespace

FlatPictureButton::FlatPictureButton(QWidget* parent) : QToolButton(parent) {}

QRect FlatPictureButton::CaptionRect() const {
  const int left = kPictureLeft + (icon().isNull() ? 0 : iconSize().width()) + kGap;
  return QRect(left, 0, std::max(0, width() - left - kGap), height());
}

int FlatPictureButton::CaptionRoom() const {
  return CaptionRect().width();
}

dravello::FittedText FlatPictureButton::ShownCaption() const {
  const int room = CaptionRoom();
  if (fitted_valid_ && fitted_for_ == text() && fitted_room_ == room) return fitted_;
  dravello::FitRules rules;
  rules.layout_size = font().pixelSize() > 0 ? font().pixelSize() : QFontInfo(font()).pixelSize();
  QFont sized = font();
  const auto measure = [&sized](int pixel_size, const QString& t) {
    sized.setPixelSize(pixel_size);
    return QFontMetricsF(sized).size(kFlags, t).width();
  };
  fitted_ = dravello::FitText(text(), room, rules, measure);
  fitted_for_ = text();
  fitted_room_ = room;
  fitted_valid_ = true;
  return fitted_;
}

void FlatPictureButton::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  // The style draws the button's face (raised under the pointer, sunken while pressed); the
  // picture and the caption are placed here.
  QStyleOptionToolButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  option.toolButtonStyle = Qt::ToolButtonIconOnly;
  painter.drawComplexControl(QStyle::CC_ToolButton, option);

  const bool sunken = (option.state & QStyle::State_Sunken) != 0;
  const int dx = sunken ? style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this) : 0;
  const int dy = sunken ? style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this) : 0;
  if (!icon().isNull()) {
    const QSize size = iconSize();
    QPixmap picture = icon().pixmap(size, devicePixelRatioF());
    // Greyed from the button's own palette: QIcon would take the desktop's.
    if (!isEnabled()) picture = style()->generatedIconPixmap(QIcon::Disabled, picture, &option);
    painter.drawPixmap(kPictureLeft + dx, (height() - size.height()) / 2 + dy, picture);
  }
  const dravello::FittedText caption = ShownCaption();
  if (caption.shown.isEmpty()) return;
  QFont sized = font();
  if (caption.pixel_size != sized.pixelSize()) sized.setPixelSize(caption.pixel_size);
  painter.setFont(sized);
  painter.setPen(
      palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  painter.drawText(CaptionRect().translated(dx, dy), Qt::AlignCenter | kFlags, caption.shown);
}

void FlatPictureButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    fitted_valid_ = false;
  }
  QToolButton::changeEvent(event);
}
