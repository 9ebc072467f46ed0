// SPDX-License-Identifier: GPL-3.0-or-later
#include "LineAnnouncer.h"

#include <QAccessible>

#include "Cp1252.h"

LineAnnouncer::LineAnnouncer(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  resize(0, 0);
}

void LineAnnouncer::Announce(const std::string& line) {
  if (!QAccessible::isActive()) {
    line_ = line;
    return;
  }
  const QString old = Line();
  line_ = line;
  // The new text, then the notification shown again: the event that screen readers speak.
  QAccessibleTextUpdateEvent text(this, 0, old, Line());
  QAccessible::updateAccessibility(&text);
  QAccessibleEvent named(this, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&named);
  QAccessibleEvent described(this, QAccessible::DescriptionChanged);
  QAccessible::updateAccessibility(&described);
  QAccessibleEvent shown(this, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&shown);
}

QString LineAnnouncer::Line() const {
  return QString::fromStdString(dravello::Cp1252ToUtf8(line_));
}
