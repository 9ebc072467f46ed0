// SPDX-License-Identifier: GPL-3.0-or-later
#include "DialogKeys.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QTest>

#include "TGradBtn.h"
#include "THighButton.h"

namespace {

// A window with highlight buttons, a list (which takes typed characters and the arrows) and,
// in a dialog of its own, a button that must never see the window's keys. Every click and every
// stage of the window's key handling lands in `log`, in order.
class Window : public QWidget {
 public:
  Window() {
    resize(400, 200);
    pad = new QWidget(this);
    pad->setGeometry(0, 0, 400, 40);
    seven = AddButton(pad, QStringLiteral("7"), 0);
    memory_a = AddButton(pad, QStringLiteral("M(&a)"), 60);
    literal = AddButton(pad, QStringLiteral("&&b"), 120);
    spaced = AddButton(pad, QStringLiteral("Go& on"), 180);
    disabled = AddButton(this, QStringLiteral("Mem-> &Dis"), 240);
    disabled->setEnabled(false);
    hidden = AddButton(this, QStringLiteral("&Hide"), 300);
    hidden->hide();
    list = new QListWidget(this);
    list->setGeometry(0, 60, 200, 100);
    list->addItems({QStringLiteral("uno"), QStringLiteral("dos")});
    dialog = new QDialog(this);
    in_dialog = AddButton(dialog, QStringLiteral("&Zeta"), 0);
    in_dialog->setCancel(true);
    keys = new DialogKeys(this);
    connect(keys, &DialogKeys::keyDown, [this](QKeyEvent*) { log << QStringLiteral("keyDown"); });
    connect(keys, &DialogKeys::keyPress,
            [this](QKeyEvent* e) { log << QStringLiteral("keyPress %1").arg(e->text()); });
  }

  THighButton* AddButton(QWidget* parent, const QString& caption, int x) {
    auto* b = new THighButton(parent);
    b->setGeometry(x, 0, 55, 30);
    b->setCaption(caption);
    connect(b, &THighButton::clicked,
            [this, caption] { log << QStringLiteral("click ") + caption; });
    return b;
  }

  QWidget* pad;
  THighButton *seven, *memory_a, *literal, *spaced, *disabled, *hidden, *in_dialog;
  QListWidget* list;
  QDialog* dialog;
  DialogKeys* keys;
  QStringList log;
};

}  // namespace

class DialogKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void returnClicksTheActiveButtonAndGoesNoFurther_data();
  void returnClicksTheActiveButtonAndGoesNoFurther();
  void returnWithShiftCtrlOrAltClicksNothing_data();
  void returnWithShiftCtrlOrAltClicksNothing();
  void returnWithNoActiveButtonReachesTheWindow();
  void escapeClicksOnlyACancelButton();
  void acceleratorsClickTheirButtons_data();
  void acceleratorsClickTheirButtons();
  void keyboardClicksLeaveTheModalResultAlone();
  void arrowsMoveTheFocusWithinTheContainer();

 private:
  void Focus(QWidget* widget);
  std::unique_ptr<Window> w_;
};

void DialogKeysTest::init() {
  w_ = std::make_unique<Window>();
  w_->show();
  QVERIFY(QTest::qWaitForWindowActive(w_.get()));
  Focus(w_->seven);
}

void DialogKeysTest::cleanup() {
  w_.reset();
}

void DialogKeysTest::Focus(QWidget* widget) {
  widget->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), widget);
  w_->log.clear();
}

void DialogKeysTest::returnClicksTheActiveButtonAndGoesNoFurther_data() {
  QTest::addColumn<int>("key");
  QTest::addColumn<int>("modifiers");
  QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
  QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
}

void DialogKeysTest::returnClicksTheActiveButtonAndGoesNoFurther() {
  QFETCH(int, key);
  QFETCH(int, modifiers);
  QTest::keyClick(w_->seven, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(w_->log, QStringList{"click 7"});
  Focus(w_->memory_a);
  QTest::keyClick(w_->memory_a, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(w_->log, QStringList{"click M(&a)"});
}

void DialogKeysTest::returnWithShiftCtrlOrAltClicksNothing_data() {
  QTest::addColumn<int>("modifiers");
  QTest::newRow("Shift") << int(Qt::ShiftModifier);
  QTest::newRow("Ctrl") << int(Qt::ControlModifier);
  QTest::newRow("Alt") << int(Qt::AltModifier);
}

void DialogKeysTest::returnWithShiftCtrlOrAltClicksNothing() {
  QFETCH(int, modifiers);
  QTest::keyClick(w_->seven, Qt::Key_Return, Qt::KeyboardModifiers(modifiers));
  QCOMPARE(w_->log.value(0), QStringLiteral("keyDown"));
  QVERIFY(!w_->log.join(' ').contains(QStringLiteral("click")));
}

void DialogKeysTest::returnWithNoActiveButtonReachesTheWindow() {
  Focus(w_->list);
  QTest::keyClick(w_->list, Qt::Key_Return);
  QCOMPARE(w_->log, (QStringList{"keyDown", "keyPress \r"}));
}

void DialogKeysTest::escapeClicksOnlyACancelButton() {
  QTest::keyClick(w_->seven, Qt::Key_Escape);
  QCOMPARE(w_->log, (QStringList{"keyDown", "keyPress \x1b"}));  // the dialog's is not ours
  w_->log.clear();
  w_->literal->setCancel(true);
  QTest::keyClick(w_->seven, Qt::Key_Escape);
  QCOMPARE(w_->log, QStringList{"click &&b"});
  w_->log.clear();
  QTest::keyClick(w_->seven, Qt::Key_Escape, Qt::ShiftModifier);
  QVERIFY(!w_->log.join(' ').contains(QStringLiteral("click")));
  w_->log.clear();
  Focus(w_->list);  // Escape is offered whatever holds the focus
  QTest::keyClick(w_->list, Qt::Key_Escape);
  QCOMPARE(w_->log, QStringList{"click &&b"});
}

void DialogKeysTest::acceleratorsClickTheirButtons_data() {
  QTest::addColumn<bool>("inList");
  QTest::addColumn<QChar>("typed");
  QTest::addColumn<int>("modifiers");
  QTest::addColumn<QStringList>("log");
  const auto pass = [](QChar c) { return QStringList{"keyDown", QStringLiteral("keyPress ") + c}; };
  const QStringList click_a{"keyDown", "click M(&a)"};
  // The Alt key itself comes first, as a key-down of its own that types nothing.
  const QStringList alt_click_a{"keyDown", "keyDown", "click M(&a)"};
  QTest::newRow("a") << false << QChar('a') << 0 << click_a;
  QTest::newRow("A") << false << QChar('A') << 0 << click_a;
  QTest::newRow("Alt+a") << false << QChar('a') << int(Qt::AltModifier) << alt_click_a;
  QTest::newRow("no accelerator") << false << QChar('7') << 0 << pass('7');
  QTest::newRow("doubled ampersand marks nothing") << false << QChar('b') << 0 << pass('b');
  QTest::newRow("the ampersand itself") << false << QChar('&') << 0 << pass('&');
  QTest::newRow("disabled button") << false << QChar('d') << 0 << pass('d');
  QTest::newRow("hidden button") << false << QChar('h') << 0 << pass('h');
  QTest::newRow("button of another window") << false << QChar('z') << 0 << pass('z');
  QTest::newRow("space") << false << QChar(' ') << 0 << QStringList{"keyDown", "click Go& on"};
  // The list takes typed characters: only Alt brings them to the buttons, the space excepted.
  QTest::newRow("a in the list") << true << QChar('a') << 0 << pass('a');
  QTest::newRow("Alt+a in the list") << true << QChar('a') << int(Qt::AltModifier) << alt_click_a;
  QTest::newRow("Alt+space in the list") << true << QChar(' ') << int(Qt::AltModifier)
                                         << QStringList{"keyDown", "keyDown", "keyPress  "};
}

void DialogKeysTest::acceleratorsClickTheirButtons() {
  QFETCH(bool, inList);
  QFETCH(QChar, typed);
  QFETCH(int, modifiers);
  QFETCH(QStringList, log);
  QWidget* target = w_->seven;
  if (inList) {
    Focus(w_->list);
    target = w_->list;
  }
  QTest::keyClick(target, typed.toLatin1(), Qt::KeyboardModifiers(modifiers));
  QCOMPARE(w_->log, log);
}

void DialogKeysTest::keyboardClicksLeaveTheModalResultAlone() {
  w_->seven->setModalResult(3);
  w_->memory_a->setModalResult(4);
  QTest::keyClick(w_->seven, Qt::Key_Return);
  QTest::keyClick(w_->seven, 'a');
  QCOMPARE(w_->log, (QStringList{"click 7", "keyDown", "click M(&a)"}));
  QVERIFY(!w_->property("ModalResult").isValid());
  QTest::mouseClick(w_->seven, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(w_->property("ModalResult").toInt(), 3);
}

void DialogKeysTest::arrowsMoveTheFocusWithinTheContainer() {
  const auto press = [](int key) { QTest::keyClick(QApplication::focusWidget(), Qt::Key(key)); };
  press(Qt::Key_Right);
  QCOMPARE(QApplication::focusWidget(), w_->memory_a);
  press(Qt::Key_Down);
  QCOMPARE(QApplication::focusWidget(), w_->literal);
  press(Qt::Key_Left);
  press(Qt::Key_Up);
  QCOMPARE(QApplication::focusWidget(), w_->seven);
  press(Qt::Key_Left);  // round to the last of the pad
  QCOMPARE(QApplication::focusWidget(), w_->spaced);
  press(Qt::Key_Right);
  QCOMPARE(QApplication::focusWidget(), w_->seven);
  QVERIFY(w_->log.isEmpty());
  // In the list the arrows move its selection, not the focus.
  Focus(w_->list);
  w_->list->setCurrentRow(0);
  press(Qt::Key_Down);
  QCOMPARE(QApplication::focusWidget(), w_->list);
  QCOMPARE(w_->list->currentRow(), 1);
}

QTEST_MAIN(DialogKeysTest)
#include "DialogKeysTest.moc"
