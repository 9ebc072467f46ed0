// SPDX-License-Identifier: GPL-3.0-or-later
// Key presses as the routing sees them: virtual-key codes and typed Windows-1252 characters.

#include <QtTest>

#include "KeyInput.h"

Q_DECLARE_METATYPE(Qt::KeyboardModifiers)

class KeyInputTest : public QObject {
  Q_OBJECT

 private slots:
  void translation_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("vk");
    QTest::addColumn<int>("typed");  // -1: types nothing
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    QTest::newRow("a") << int(Qt::Key_A) << none << "a" << 65 << int('a');
    QTest::newRow("A") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ShiftModifier) << "A" << 65
                       << int('A');
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::ControlModifier) << "c"
                            << 67 << 3;
    QTest::newRow("Ctrl+V without text")
        << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier) << "" << 86 << 22;
    QTest::newRow("Alt+m") << int(Qt::Key_M) << Qt::KeyboardModifiers(Qt::AltModifier) << "m" << 77
                           << int('m');
    QTest::newRow("7") << int(Qt::Key_7) << none << "7" << 55 << int('7');
    QTest::newRow("keypad 7") << int(Qt::Key_7) << Qt::KeyboardModifiers(Qt::KeypadModifier) << "7"
                              << 0 << int('7');
    QTest::newRow("period is not Delete") << int(Qt::Key_Period) << none << "." << 0 << int('.');
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << "\x7f" << 46 << -1;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << "\b" << 8 << 8;
    QTest::newRow("Return") << int(Qt::Key_Return) << none << "\r" << 13 << 13;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier)
                                  << "\r" << 13 << 13;
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return)
                                 << Qt::KeyboardModifiers(Qt::ControlModifier) << "\r" << 13 << 10;
    QTest::newRow("Shift+Return") << int(Qt::Key_Return) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                  << "\r" << 13 << 13;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << none << "\x1b" << 27 << 27;
    QTest::newRow("F1") << int(Qt::Key_F1) << none << "" << 0 << -1;
    QTest::newRow("Shift") << int(Qt::Key_Shift) << Qt::KeyboardModifiers(Qt::ShiftModifier) << ""
                           << 0 << -1;
    QTest::newRow("half") << int(Qt::Key_onehalf) << none << "\u00bd" << 0 << 0xBD;
    QTest::newRow("euro") << int(Qt::Key_unknown) << none << "\u20ac" << 0 << 0x80;
    QTest::newRow("no Windows-1252 byte")
        << int(Qt::Key_unknown) << none << "\u0416" << 0 << int('?');
    QTest::newRow("beyond the basic plane")
        << int(Qt::Key_unknown) << none << "\U0001F600" << 0 << int('?');
  }
  void translation() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QString, text);
    QFETCH(int, vk);
    QFETCH(int, typed);
    const QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
    const KeyInput input = KeyInput::From(event);
    QCOMPARE(input.VirtualKey(), vk);
    const std::optional<char> ch = input.Typed();
    QCOMPARE(ch ? int(static_cast<unsigned char>(*ch)) : -1, typed);
  }

  void copyForDelivery() {
    const KeyInput input =
        KeyInput::From(QKeyEvent(QEvent::KeyPress, Qt::Key_PageDown, Qt::ShiftModifier));
    const QKeyEvent copy = input.ToEvent();
    QCOMPARE(copy.key(), int(Qt::Key_PageDown));
    QCOMPARE(copy.modifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier));
    QCOMPARE(copy.type(), QEvent::KeyPress);
  }
};

QTEST_GUILESS_MAIN(KeyInputTest)
#include "KeyInputTest.moc"
