// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Typing any text into a widget as key presses. QTest::keyClicks passes only Latin-1 characters.

#include <QString>
#include <QtTest>

namespace dialog_test {

inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    const Qt::Key key = c.isLetterOrNumber() && c.unicode() < 0x80
                            ? static_cast<Qt::Key>(c.toUpper().unicode())
                            : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
  }
}

}  // namespace dialog_test
