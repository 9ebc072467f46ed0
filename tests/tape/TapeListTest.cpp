// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeList.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "TapeModel.h"
#include "ui_TapeForm.h"

using dravello::TapeAction;
using dravello::TapeList;
using dravello::TapeModel;

namespace {

// Counts the rows the view reads, to see what one append costs without measuring time.
class CountingModel : public TapeModel {
 public:
  using TapeModel::TapeModel;
  QVariant data(const QModelIndex& index, int role) const override {
    ++reads;
    return TapeModel::data(index, role);
  }
  mutable int reads = 0;
};

std::string Line(int n) {
  return "1.234,00 + " + std::to_string(n) + ",00 = total";
}

// The list as the window shows it: ListBox1 is 617 x 95 design units, 0.8 of that on screen.
void ShowLikeListBox1(TapeList& list) {
  list.resize(494, 76);
  list.show();
  QVERIFY(QTest::qWaitForWindowExposed(&list));
}

bool FullyVisible(const TapeList& list, int row) {
  const QRect rect = list.visualRect(list.model()->index(row, 0));
  return rect.top() >= 0 && rect.bottom() < list.viewport()->height();
}

QList<int> SelectedRows(const TapeList& list) {
  QList<int> rows;
  for (const QModelIndex& index : list.selectionModel()->selectedIndexes()) {
    rows.append(index.row());
  }
  return rows;
}

}  // namespace

class TapeListTest : public QObject {
  Q_OBJECT

 private slots:
  void anotarSelectsTheNewLineAndOnlyIt() {
    TapeList list;
    ShowLikeListBox1(list);
    for (int n = 0; n < 3; ++n) list.AnotarOperacion(Line(n));
    QCOMPARE(list.currentIndex().row(), 2);
    QCOMPARE(SelectedRows(list), QList<int>{2});

    // The user picks an earlier line; the next operation still selects the new one alone.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualRect(list.model()->index(0, 0)).center());
    QCOMPARE(SelectedRows(list), QList<int>{0});
    list.AnotarOperacion(Line(3));
    QCOMPARE(list.currentIndex().row(), 3);
    QCOMPARE(SelectedRows(list), QList<int>{3});
    QCOMPARE(list.model()->data(list.currentIndex()).toString(), QString::fromStdString(Line(3)));
  }

  void anotarScrollsTheNewLineIntoViewHoweverLongTheTape() {
    QFETCH(int, earlier_lines);
    TapeList list;
    ShowLikeListBox1(list);
    for (int n = 0; n < earlier_lines; ++n) list.Model()->Append(Line(n));
    list.AnotarOperacion("last");
    const int last = earlier_lines;
    QVERIFY(FullyVisible(list, last));
    QVERIFY(!list.visualRect(list.model()->index(last, 0)).isEmpty());
    // What is seen there is the new line: a click on it lands on it.
    const QPoint centre = list.visualRect(list.model()->index(last, 0)).center();
    QCOMPARE(list.indexAt(centre).row(), last);
    if (earlier_lines > 10) QVERIFY(!FullyVisible(list, 0));
    QCOMPARE(list.verticalScrollBar()->value(), list.verticalScrollBar()->maximum());
  }
  void anotarScrollsTheNewLineIntoViewHoweverLongTheTape_data() {
    QTest::addColumn<int>("earlier_lines");
    QTest::newRow("empty tape") << 0;
    QTest::newRow("a few lines") << 3;
    QTest::newRow("more than one screen") << 40;
    QTest::newRow("a long run") << 300000;
  }

  void anAppendReadsOnlyTheRowsOnScreen() {
    // Reading every row, or a number of rows that grows with the tape, would make a long run
    // slow: the work of one append must not depend on the tape's length.
    QList<int> reads;
    for (int length : {100, 100000}) {
      TapeList list;
      CountingModel model;
      list.SetTapeModel(&model);
      ShowLikeListBox1(list);
      for (int n = 0; n < length; ++n) model.Append(Line(n));
      list.AnotarOperacion("previous");
      QCoreApplication::processEvents();
      model.reads = 0;
      list.AnotarOperacion("measured");
      QCoreApplication::processEvents();
      reads.append(model.reads);
    }
    QCOMPARE(reads.at(0), reads.at(1));
    QVERIFY2(reads.at(1) < 50, qPrintable(QString::number(reads.at(1))));
  }

  void keysMoveThroughTheLines() {
    QFETCH(int, key);
    QFETCH(int, expected_row);
    TapeList list;
    ShowLikeListBox1(list);
    for (int n = 0; n < 30; ++n) list.AnotarOperacion(Line(n));
    list.setCurrentIndex(list.model()->index(15, 0));
    list.setFocus();
    QTest::keyClick(&list, static_cast<Qt::Key>(key));
    QCOMPARE(list.currentIndex().row(), expected_row);
    QCOMPARE(SelectedRows(list), QList<int>{expected_row});
    QVERIFY(FullyVisible(list, expected_row));
  }
  void keysMoveThroughTheLines_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected_row");
    // A page is as many whole rows as the 76 pixels of the list hold.
    const int page = 76 / TapeList().RowHeight();
    QTest::newRow("up") << int(Qt::Key_Up) << 14;
    QTest::newRow("down") << int(Qt::Key_Down) << 16;
    QTest::newRow("page up") << int(Qt::Key_PageUp) << 15 - page;
    QTest::newRow("page down") << int(Qt::Key_PageDown) << 15 + page;
    QTest::newRow("home") << int(Qt::Key_Home) << 0;
    QTest::newRow("end") << int(Qt::Key_End) << 29;
  }

  void keysStopAtTheEnds() {
    TapeList list;
    ShowLikeListBox1(list);
    for (int n = 0; n < 3; ++n) list.AnotarOperacion(Line(n));
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down);
    QCOMPARE(list.currentIndex().row(), 2);
    QTest::keyClick(&list, Qt::Key_PageUp);
    QTest::keyClick(&list, Qt::Key_Up);
    QCOMPARE(list.currentIndex().row(), 0);
  }

  void rowsHaveOneHeightSetByTheWindowOrTheFont() {
    TapeList list;
    ShowLikeListBox1(list);
    for (int n = 0; n < 10; ++n) list.AnotarOperacion(Line(n));
    QVERIFY(list.RowHeight() >= list.fontMetrics().height());
    list.SetRowHeight(15);
    for (int row : {7, 8, 9}) {
      QCOMPARE(list.visualRect(list.model()->index(row, 0)).height(), 15);
    }
    QCOMPARE(list.visualRect(list.model()->index(9, 0)).top() -
                 list.visualRect(list.model()->index(8, 0)).top(),
             15);
    // A bigger font makes bigger rows when the window has not fixed their height.
    list.SetRowHeight(0);
    const int before = list.RowHeight();
    QFont font = list.font();
    font.setPixelSize(3 * list.fontMetrics().height());
    list.setFont(font);
    QVERIFY(list.RowHeight() > before);
    QVERIFY(FullyVisible(list, 9) || list.RowHeight() > list.viewport()->height());
  }

  void aLineWiderThanTheListCanBeScrolledTo() {
    TapeList list;
    ShowLikeListBox1(list);
    list.AnotarOperacion("short");
    QCOMPARE(list.horizontalScrollBar()->maximum(), 0);
    list.AnotarOperacion(std::string(200, '8'));
    QVERIFY(list.horizontalScrollBar()->maximum() > 0);
  }

  void aScreenReaderReadsTheListRowByRow() {
    TapeList list;
    list.setAccessibleName(u"Operaciones Realizadas"_qs);
    ShowLikeListBox1(list);
    list.AnotarOperacion("1,00 + 2,00 = 3,00");
    list.AnotarOperacion("\xBD 9,00 = 4,50");
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(&list);
    QVERIFY(iface);
    QCOMPARE(iface->role(), QAccessible::List);
    QCOMPARE(iface->text(QAccessible::Name), u"Operaciones Realizadas"_qs);
    QCOMPARE(iface->childCount(), 2);
    QCOMPARE(iface->child(0)->text(QAccessible::Name), u"1,00 + 2,00 = 3,00"_qs);
    QCOMPARE(iface->child(1)->text(QAccessible::Name), u"½ 9,00 = 4,50"_qs);
    QVERIFY(iface->child(1)->state().selected);
    QVERIFY(!iface->child(0)->state().selected);
  }

  void aSharedModelShowsInTheListUntilItGoes() {
    TapeList list;
    ShowLikeListBox1(list);
    auto shared = std::make_unique<TapeModel>();
    shared->Append("from the shared model");
    list.SetTapeModel(shared.get());
    QCOMPARE(list.Model(), shared.get());
    QCOMPARE(list.model()->rowCount(), 1);
    list.AnotarOperacion("second");
    QCOMPARE(shared->rowCount(), 2);
    shared.reset();
    QVERIFY(list.Model() != nullptr);
    list.AnotarOperacion("after the shared model went");
    QCOMPARE(list.Model()->rowCount(), 1);
    QCOMPARE(list.currentIndex().row(), 0);
  }

  // The menu, however it is opened: 0 the right button on the first line, 1 the Menu key,
  // 2 Shift+F10.
  void itsMenuCopiesALineOrAllAndAsksToSaveOrPrint() {
    QFETCH(int, way);
    TapeList list;
    ShowLikeListBox1(list);
    for (int n = 0; n < 3; ++n) list.AnotarOperacion(Line(n));
    list.AnotarOperacion("Pegado Desde ClipBoard 1,00 \xB1 \x80");
    list.setFocus();
    switch (way) {
      case 0: {
        // The click, then the event that the window makes of it (QTest sends only the click).
        const QPoint at = list.visualRect(list.model()->index(0, 0)).center();
        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
        QApplication::sendEvent(list.viewport(), &event);
        break;
      }
      case 1:
        QTest::keyClick(&list, Qt::Key_Menu);
        break;
      default:
        QTest::keyClick(&list, Qt::Key_F10, Qt::ShiftModifier);
        break;
    }
    QTRY_VERIFY(list.Menu() != nullptr && list.Menu()->isVisible());
    QMenu* menu = list.Menu();
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    QCOMPARE(texts, (QStringList{u"Copiar &línea"_qs, u"Copiar &todo"_qs, QString(),
                                 u"&Deshacer\tCtrl+Z"_qs, u"&Rehacer\tCtrl+Y"_qs,
                                 u"&Corregir importe…\tF2"_qs, u"&Quitar operación"_qs,
                                 u"&Borrar la cinta"_qs, QString(), u"&Guardar como…"_qs,
                                 u"&Imprimir…"_qs, QString(), u"Recuperar la sesión &anterior"_qs,
                                 u"Guardar la cinta en di&sco"_qs}));
    // The right button selects the line under it first; the keys keep the selection.
    const int selected = way == 0 ? 0 : 3;
    QCOMPARE(SelectedRows(list), QList<int>{selected});

    menu->actions()[0]->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             list.model()->index(selected, 0).data().toString());
    menu->actions()[1]->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QString::fromStdString(Line(0) + "\n" + Line(1) + "\n" + Line(2) + "\n") +
                 u"Pegado Desde ClipBoard 1,00 ± €\n"_qs);
    QSignalSpy save(&list, &TapeList::SaveRequested);
    QSignalSpy print(&list, &TapeList::PrintRequested);
    QSignalSpy journal(&list, &TapeList::ActionRequested);
    menu->actions()[9]->trigger();
    menu->actions()[10]->trigger();
    QCOMPARE(save.count(), 1);
    QCOMPARE(print.count(), 1);
    // The journal's entries are the window's to answer, with what each is.
    list.Action(TapeAction::kRemove)->setEnabled(true);
    menu->actions()[6]->trigger();
    list.Action(TapeAction::kKeepOnDisk)->setEnabled(true);
    menu->actions()[13]->trigger();
    QCOMPARE(journal.count(), 2);
    QCOMPARE(journal[0], (QList<QVariant>{static_cast<int>(TapeAction::kRemove), false}));
    QCOMPARE(journal[1], (QList<QVariant>{static_cast<int>(TapeAction::kKeepOnDisk), true}));
    menu->hide();
    QCOMPARE(list.model()->rowCount(), 4);  // the menu writes no line
  }
  void itsMenuCopiesALineOrAllAndAsksToSaveOrPrint_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("right button") << 0;
    QTest::newRow("Menu key") << 1;
    QTest::newRow("Shift+F10") << 2;
  }

  void onAnEmptyListTheMenuOffersOnlySavingAndPrinting() {
    TapeList list;
    ShowLikeListBox1(list);
    list.ShowMenu();
    QTRY_VERIFY(list.Menu()->isVisible());
    QList<bool> enabled;
    for (QAction* action : list.Menu()->actions()) {
      if (!action->isSeparator()) enabled << action->isEnabled();
    }
    // Without a window to answer them, nothing of the journal either.
    QCOMPARE(enabled, (QList<bool>{false, false, false, false, false, false, false, true, true,
                                   false, false}));
    list.Menu()->hide();
  }

  void theWindowCanPromoteAListWidgetToIt() {
    QWidget form;
    Ui::TapeForm ui;
    ui.setupUi(&form);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    ui.ListBox1->AnotarOperacion("from the form");
    QCOMPARE(ui.ListBox1->objectName(), u"ListBox1"_qs);
    QCOMPARE(ui.ListBox1->accessibleName(), u"Operaciones Realizadas"_qs);
    QCOMPARE(ui.ListBox1->currentIndex().row(), 0);
  }
};

QTEST_MAIN(TapeListTest)
#include "TapeListTest.moc"
