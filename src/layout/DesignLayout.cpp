// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesignLayout.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "QtColor.h"

namespace dravello {
namespace {

constexpr int kDesignDpi = 120;

// A look property stored in the layout for a widget class that has no such property itself.
bool LayoutProperty(const QWidget* widget, const char* name, int& value) {
  if (widget->metaObject()->indexOfProperty(name) >= 0) return false;
  const QVariant v = widget->property(name);
  if (!v.isValid()) return false;
  bool ok = false;
  value = v.toInt(&ok);
  return ok;
}

void ScaleGeometry(QWidget* widget, DesignScale s) {
  const QRect g = widget->geometry();
  const int left = MulDiv(g.x(), s.numerator, s.denominator);
  const int top = MulDiv(g.y(), s.numerator, s.denominator);
  const int right = MulDiv(g.x() + g.width(), s.numerator, s.denominator);
  const int bottom = MulDiv(g.y() + g.height(), s.numerator, s.denominator);
  widget->setGeometry(left, top, right - left, bottom - top);
}

// Fonts that the layouts name and Linux does not have, and the font that stands in for them.
// A missing family is not left to the font matcher: it would pick the system's default face.
QString AvailableFamily(const QString& family) {
  static const char* const kStandIns[][2] = {
      {"Small Fonts", "Arial"},
      {"System", "Arial"},
      {"MS Sans Serif", "Arial"},
  };
  for (const auto& [windows, stand_in] : kStandIns) {
    if (family.compare(QLatin1String(windows), Qt::CaseInsensitive) == 0) {
      return QString::fromLatin1(stand_in);
    }
  }
  return family;
}

void ApplyLook(QWidget* widget, DesignScale s) {
  int value = 0;
  if (LayoutProperty(widget, "FontHeight", value)) {
    QFont font = widget->font();
    font.setPixelSize(std::max(1, MulDiv(value, s.numerator, s.denominator)));
    if (font.resolveMask() & (QFont::FamilyResolved | QFont::FamiliesResolved)) {
      font.setFamilies({AvailableFamily(font.families().value(0))});
    }
    widget->setFont(font);
  }
  if (LayoutProperty(widget, "Color", value)) SetBackground(widget, static_cast<WinColor>(value));
  if (LayoutProperty(widget, "FontColor", value))
    SetTextColour(widget, static_cast<WinColor>(value));
}

// A one-line label whose text is wider than its place at the layout's font size takes the
// largest size at which it fits, as the main window's fields do: a heading is always whole,
// whatever the screen's font metrics. Labels of classes of their own fit their texts themselves.
void FitOneLineLabel(QWidget* widget) {
  if (widget->metaObject() != &QLabel::staticMetaObject) return;
  auto* label = static_cast<QLabel*>(widget);
  if (label->wordWrap() || label->text().isEmpty()) return;
  const qreal room = label->contentsRect().width() - 2 * label->margin();
  QFont font = label->font();
  int size = font.pixelSize();
  while (size > 1 && QFontMetricsF(font).horizontalAdvance(label->text()) > room) {
    font.setPixelSize(--size);
  }
  if (size != label->font().pixelSize()) label->setFont(font);
}

}  // namespace

DesignScale ScaleForScreen(const QWidget* widget) {
  const QScreen* screen = widget->screen();
  const int dpi = screen ? static_cast<int>(std::lround(screen->logicalDotsPerInchY())) : 96;
  return {dpi > 0 ? dpi : 96, kDesignDpi};
}

void ApplyDesign(QWidget* form, DesignScale scale) {
  // First, so that the looks below take their unset roles from it.
  form->setPalette(ClassicPalette());
  const QList<QWidget*> widgets = form->findChildren<QWidget*>();
  for (QWidget* widget : widgets) {
    if (scale.numerator != scale.denominator) ScaleGeometry(widget, scale);
    ApplyLook(widget, scale);
    FitOneLineLabel(widget);
  }
  ApplyLook(form, scale);
  const QSize size = form->size();
  form->setFixedSize(MulDiv(size.width(), scale.numerator, scale.denominator),
                     MulDiv(size.height(), scale.numerator, scale.denominator));
}

void SetBackground(QWidget* widget, WinColor colour) {
  QPalette palette = widget->palette();
  const QColor c = ToQColor(colour);
  palette.setColor(QPalette::Window, c);
  palette.setColor(QPalette::Base, c);
  palette.setColor(QPalette::Button, c);
  widget->setPalette(palette);
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
    area->viewport()->setAutoFillBackground(true);
  } else {
    widget->setAutoFillBackground(true);
  }
}

void SetTextColour(QWidget* widget, WinColor colour) {
  QPalette palette = widget->palette();
  const QColor c = ToQColor(colour);
  // A list's text colour is its lines' colour: its frame and scroll bars keep the window's.
  const bool list = qobject_cast<QAbstractScrollArea*>(widget) != nullptr;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    if (!list) {
      palette.setColor(group, QPalette::WindowText, c);
      palette.setColor(group, QPalette::ButtonText, c);
    }
    palette.setColor(group, QPalette::Text, c);
  }
  widget->setPalette(palette);
}

}  // namespace dravello
