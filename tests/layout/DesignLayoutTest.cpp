// SPDX-License-Identifier: GPL-3.0-or-later
// Scaling a stored layout to the screen.

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QtTest>

#include "DesignLayout.h"

class DesignLayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void mulDivRoundsHalvesAwayFromZero_data() {
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<int>("c");
    QTest::addColumn<int>("expected");
    QTest::newRow("671 at 96 dpi") << 671 << 96 << 120 << 537;
    QTest::newRow("500 at 96 dpi") << 500 << 96 << 120 << 400;
    QTest::newRow("half up") << 5 << 1 << 2 << 3;
    QTest::newRow("half down negative") << -5 << 1 << 2 << -3;
    QTest::newRow("negative divisor") << 5 << 1 << -2 << -3;
    QTest::newRow("below half") << 7 << 96 << 120 << 6;        // 5.6
    QTest::newRow("negative place") << -3 << 96 << 120 << -2;  // -2.4
    QTest::newRow("zero divisor") << 7 << 3 << 0 << -1;
    QTest::newRow("no overflow") << 2000000000 << 3 << 4 << 1500000000;
  }
  void mulDivRoundsHalvesAwayFromZero() {
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(int, c);
    QFETCH(int, expected);
    QCOMPARE(dravello::MulDiv(a, b, c), expected);
  }

  // Edges are scaled, not sizes, so that controls that touch at design touch on the screen.
  void neighboursStayNeighbours() {
    QWidget form;
    form.resize(671, 500);
    auto* left = new QFrame(&form);
    left->setGeometry(3, 3, 43, 31);
    auto* right = new QFrame(&form);
    right->setGeometry(46, 3, 43, 31);  // touches `left`
    auto* child = new QLabel(left);
    child->setGeometry(-3, -1, 79, 16);
    dravello::ApplyDesign(&form, {96, 120});
    QCOMPARE(form.size(), QSize(537, 400));
    QCOMPARE(left->geometry().right() + 1, right->geometry().left());
    QCOMPARE(left->geometry(), QRect(2, 2, 35, 25));
    QCOMPARE(child->geometry(), QRect(-2, -1, 63, 13));
  }

  void storedLookPropertiesApply() {
    QWidget form;
    auto* panel = new QFrame(&form);
    panel->setProperty("Color", 0x0771A3);
    panel->setProperty("FontColor", 0x00FFFF);
    panel->setProperty("FontHeight", 33);
    dravello::ApplyDesign(&form, {96, 120});
    QVERIFY(panel->autoFillBackground());
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(0xA3, 0x71, 0x07));
    QCOMPARE(panel->palette().color(QPalette::WindowText), QColor(0xFF, 0xFF, 0x00));
    QCOMPARE(panel->font().pixelSize(), 26);  // 33 * 0.8 = 26.4
    // At 120 dpi nothing moves and fonts take their design height.
    QWidget big;
    auto* label = new QLabel(&big);
    label->setGeometry(23, 21, 132, 22);
    label->setProperty("FontHeight", 10);
    big.resize(671, 500);
    dravello::ApplyDesign(&big, {120, 120});
    QCOMPARE(label->geometry(), QRect(23, 21, 132, 22));
    QCOMPARE(label->font().pixelSize(), 10);
    QCOMPARE(big.size(), QSize(671, 500));
  }

  // Windows fonts that Linux lacks are replaced by Arial, other families are kept.
  void standInFonts() {
    QWidget form;
    const struct {
      const char* family;
      const char* expected;
    } cases[] = {
        {"Small Fonts", "Arial"}, {"system", "Arial"}, {"Verdana", "Verdana"}, {"Arial", "Arial"}};
    QList<QLabel*> labels;
    for (const auto& c : cases) {
      auto* label = new QLabel(&form);
      QFont font;
      font.setFamilies({QString::fromLatin1(c.family)});
      label->setFont(font);
      label->setProperty("FontHeight", 10);
      labels << label;
    }
    auto* inheriting = new QLabel(&form);  // no family of its own
    inheriting->setProperty("FontHeight", 10);
    const QString inherited = inheriting->font().families().value(0);
    dravello::ApplyDesign(&form, {120, 120});
    for (int i = 0; i < labels.size(); ++i) {
      QCOMPARE(labels[i]->font().families().value(0), QString::fromLatin1(cases[i].expected));
    }
    QCOMPARE(inheriting->font().families().value(0), inherited);
  }
};

QTEST_MAIN(DesignLayoutTest)
#include "DesignLayoutTest.moc"
