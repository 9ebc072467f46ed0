// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a text to its field, with a font whose every character is half its size wide.

#include <QtTest>

#include "TextFit.h"

using dravello::FitRules;
using dravello::FittedText;
using dravello::FitText;

class TextFitTest : public QObject {
  Q_OBJECT

 private slots:
  void fit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("room");
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("floor");
    QTest::addColumn<QString>("separator");  // empty: nothing may be cut
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("shown");
    const QString long_amount = QStringLiteral("12.345.678.901.234,000000000");  // 28 wide
    const QString largest = QStringLiteral("922.337.203.685.477,58");            // 22
    QTest::newRow("fits at the layout's size")
        << "1.234,56" << 100.0 << 20 << 8 << "," << 20 << "1.234,56";
    QTest::newRow("shrinks, whole, above the floor")
        << long_amount << 200.0 << 20 << 8 << "," << 14 << long_amount;
    QTest::newRow("at the floor the last decimals give way")
        << long_amount << 100.0 << 20 << 8 << "," << 8 << "12.345.678.901.234,00000…";
    QTest::newRow("the separator stays when every decimal goes")
        << long_amount << 80.0 << 20 << 8 << "," << 8 << "12.345.678.901.234,…";
    QTest::newRow("integer digits never go: smaller than the floor")
        << largest << 38.0 << 20 << 8 << "," << 3 << largest;
    QTest::newRow("below the floor as many decimals as fit")
        << "922.337.203.685.477,5807" << 46.0 << 20 << 8 << "," << 4 << "922.337.203.685.477,58…";
    QTest::newRow("a rate in scientific notation only shrinks")
        << "1,23456789012346E15" << 40.0 << 20 << 8 << "," << 4 << "1,23456789012346E15";
    QTest::newRow("no decimals: grouping is not a separator")
        << "100.000.000.000" << 30.0 << 20 << 8 << "," << 4 << "100.000.000.000";
    QTest::newRow("an abbreviation shrinks past the floor")
        << "Peset" << 10.0 << 20 << 8 << "" << 4 << "Peset";
    QTest::newRow("an abbreviation in an amount field")
        << "M+" << 2.0 << 20 << 8 << "," << 2 << "M+";
    QTest::newRow("no room at all: whole at size 1") << "Pts" << 0.0 << 20 << 8 << "" << 1 << "Pts";
    QTest::newRow("empty") << "" << 0.0 << 20 << 8 << "," << 20 << "";
    QTest::newRow("floor above the layout's size is the layout's size")
        << "1,2345" << 20.0 << 10 << 12 << "," << 10 << "1,2…";
  }
  void fit() {
    QFETCH(QString, text);
    QFETCH(double, room);
    QFETCH(int, layout);
    QFETCH(int, floor);
    QFETCH(QString, separator);
    QFETCH(int, size);
    QFETCH(QString, shown);
    FitRules rules;
    rules.layout_size = layout;
    rules.legible_floor = floor;
    if (!separator.isEmpty()) rules.decimal_separator = separator[0];
    const auto measure = [](int pixel_size, const QString& t) {
      return 0.5 * pixel_size * static_cast<double>(t.size());
    };
    const FittedText fitted = FitText(text, room, rules, measure);
    QCOMPARE(fitted.shown, shown);
    QCOMPARE(fitted.pixel_size, size);
  }

  void cuttableDecimals_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("first");
    QTest::newRow("amount") << "1.234,56" << 6;
    QTest::newRow("memory panel") << "M(a)-> 0,00" << 9;
    QTest::newRow("scientific") << "1,5E-6" << -1;
    QTest::newRow("no decimals") << "1.000" << -1;
    QTest::newRow("indicator") << "M+" << -1;
    QTest::newRow("separator last") << "0," << -1;
    QTest::newRow("separator alone") << "," << -1;
    QTest::newRow("digits alone") << "1234" << -1;
  }
  void cuttableDecimals() {
    QFETCH(QString, text);
    QFETCH(int, first);
    QCOMPARE(dravello::CuttableDecimals(text, QLatin1Char(',')), first);
  }
};

QTEST_GUILESS_MAIN(TextFitTest)
#include "TextFitTest.moc"
