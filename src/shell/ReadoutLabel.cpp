#include "ReadoutLabel.h"

#include <QAccessible>

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
