// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeModel.h"

#include <QSignalSpy>
#include <QStringListModel>
#include <QTest>

using dravello::TapeModel;

class TapeModelTest : public QObject {
  Q_OBJECT

 private slots:
  void appendAnnouncesExactlyTheOneNewRow() {
    TapeModel model;
    QSignalSpy before(&model, &QAbstractItemModel::rowsAboutToBeInserted);
    QSignalSpy after(&model, &QAbstractItemModel::rowsInserted);
    for (int row = 0; row < 3; ++row) {
      model.Append("1,00 + 2,00 = 3,00");
      QCOMPARE(model.rowCount(), row + 1);
      QCOMPARE(before.count(), row + 1);
      QCOMPARE(after.count(), row + 1);
      const QList<QVariant> args = after.last();
      QVERIFY(!args.at(0).value<QModelIndex>().isValid());
      QCOMPARE(args.at(1).toInt(), row);
      QCOMPARE(args.at(2).toInt(), row);
    }
    QCOMPARE(model.Lines().Count(), std::size_t{3});
  }

  void dataGivesTheLineAsText() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    TapeModel model;
    model.Append("earlier line");
    model.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const QModelIndex index = model.index(1, 0);
    QCOMPARE(model.data(index, Qt::DisplayRole).toString(), text);
    QCOMPARE(model.data(index, Qt::AccessibleTextRole).toString(), text);
    QCOMPARE(model.Lines().Line(1), bytes.toStdString());
  }
  void dataGivesTheLineAsText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("1,00 + 2,00 = 3,00") << u"1,00 + 2,00 = 3,00"_qs;
    QTest::newRow("empty") << QByteArray("") << QString();
    QTest::newRow("half, Windows-1252 189")
        << QByteArray("\xBD 9,00 = 4,50") << u"½ 9,00 = 4,50"_qs;
    QTest::newRow("plus-minus, square") << QByteArray("5 \xB1 2% x\xB2") << u"5 ± 2% x²"_qs;
    QTest::newRow("o acute") << QByteArray("operaci\xF3n") << u"operación"_qs;
    QTest::newRow("euro, 0x80") << QByteArray("\x80 1,00") << u"€ 1,00"_qs;
    QTest::newRow("undefined 0x81 as its C1 control") << QByteArray("\x81") << u"\u0081"_qs;
    QTest::newRow("every byte above 0x9F is Latin-1") << QByteArray("\xA0\xFF") << u"\u00A0ÿ"_qs;
  }

  void dataRefusesWhatIsNotARowOfIt() {
    TapeModel model;
    model.Append("only line");
    QStringListModel other(QStringList{u"other"_qs});
    QVERIFY(!model.data(QModelIndex()).isValid());
    QVERIFY(!model.data(model.index(1, 0)).isValid());
    QVERIFY(!model.data(model.index(0, 1)).isValid());
    QVERIFY(!model.data(other.index(0, 0)).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::EditRole).isValid());
    QVERIFY(!model.data(model.index(0, 0), Qt::DecorationRole).isValid());
    QCOMPARE(model.rowCount(model.index(0, 0)), 0);
  }

  void rowsCanBeSelectedButNotEdited() {
    TapeModel model;
    model.Append("line");
    const Qt::ItemFlags flags = model.flags(model.index(0, 0));
    QVERIFY(flags & Qt::ItemIsSelectable);
    QVERIFY(flags & Qt::ItemIsEnabled);
    QVERIFY(!(flags & Qt::ItemIsEditable));
    QCOMPARE(model.flags(QModelIndex()), Qt::NoItemFlags);
  }

  void aLongTapeKeepsEveryLineInOrder() {
    TapeModel model;
    const int count = 100000;
    for (int n = 0; n < count; ++n) model.Append("linea " + std::to_string(n));
    QCOMPARE(model.rowCount(), count);
    for (int n : {0, 1, 4095, 4096, 65535, 65536, count - 1}) {
      QCOMPARE(model.data(model.index(n, 0)).toString(), QStringLiteral("linea %1").arg(n));
    }
  }
};

QTEST_MAIN(TapeModelTest)
#include "TapeModelTest.moc"
