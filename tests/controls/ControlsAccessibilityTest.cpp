// SPDX-License-Identifier: GPL-3.0-or-later
#include "ControlsAccessibility.h"

#include <QAccessible>
#include <QSignalSpy>
#include <QTest>
#include <QTestAccessibility>

#include "TGradBtn.h"
#include "THighButton.h"

class ControlsAccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void theFactoryAnswersForTheTwoButtonsOnly();
  void highlightButtonNameIsItsCaptionWithoutAmpersands_data();
  void highlightButtonNameIsItsCaptionWithoutAmpersands();
  void gradientButtonNameIsItsCaptionAsDrawn();
  void descriptionHelpAndAccessibleNameComeFromTheWidget();
  void pressActionClicksAnEnabledButton();
  void acceleratorIsTheKeyboardShortcut();
  void statesShowDisabledPressedAndFocusable();
  void captionChangeTellsAssistiveTechnology();
};

void ControlsAccessibilityTest::initTestCase() {
  QAccessible::installFactory(ControlsAccessibleFactory);
}

void ControlsAccessibilityTest::theFactoryAnswersForTheTwoButtonsOnly() {
  THighButton h;
  TGradBtn g;
  QWidget plain;
  QVERIFY(ControlsAccessibleFactory(QStringLiteral("QWidget"), &plain) == nullptr);
  QVERIFY(ControlsAccessibleFactory(QStringLiteral("THighButton"), &plain) == nullptr);
  QAccessibleInterface* hi = QAccessible::queryAccessibleInterface(&h);
  QAccessibleInterface* gi = QAccessible::queryAccessibleInterface(&g);
  QVERIFY(hi != nullptr && gi != nullptr);
  QCOMPARE(hi->role(), QAccessible::Button);
  QCOMPARE(gi->role(), QAccessible::Button);
  QCOMPARE(hi->object(), &h);
}

void ControlsAccessibilityTest::highlightButtonNameIsItsCaptionWithoutAmpersands_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("name");
  QTest::newRow("digit") << "7"
                         << "7";
  QTest::newRow("marked") << "M(&a)"
                          << "M(a)";
  QTest::newRow("square") << QStringLiteral("&X\u00B2") << QStringLiteral("X\u00B2");
  QTest::newRow("literal") << "a&&b"
                           << "a&b";
  QTest::newRow("trailing") << "Del&"
                            << "Del";
  QTest::newRow("per mille") << "%%"
                             << "%%";
}

void ControlsAccessibilityTest::highlightButtonNameIsItsCaptionWithoutAmpersands() {
  QFETCH(QString, caption);
  QFETCH(QString, name);
  THighButton b;
  b.setCaption(caption);
  QCOMPARE(QAccessible::queryAccessibleInterface(&b)->text(QAccessible::Name), name);
}

void ControlsAccessibilityTest::gradientButtonNameIsItsCaptionAsDrawn() {
  TGradBtn b;
  b.setCaption(QStringLiteral("Abrir & Cerrar"));
  QCOMPARE(QAccessible::queryAccessibleInterface(&b)->text(QAccessible::Name),
           QStringLiteral("Abrir & Cerrar"));
}

void ControlsAccessibilityTest::descriptionHelpAndAccessibleNameComeFromTheWidget() {
  THighButton b;
  b.setCaption(QStringLiteral("Ejecutar <--- (=)"));
  b.setAccessibleDescription(QStringLiteral("HighButton33"));
  b.setToolTip(QStringLiteral("Ejecuta Operaci\u00F3n"));
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(&b);
  QCOMPARE(i->text(QAccessible::Description), QStringLiteral("HighButton33"));
  QCOMPARE(i->text(QAccessible::Help), QStringLiteral("Ejecuta Operaci\u00F3n"));
  QCOMPARE(i->text(QAccessible::Name), QStringLiteral("Ejecutar <--- (=)"));
  b.setAccessibleName(QStringLiteral("Igual"));
  QCOMPARE(i->text(QAccessible::Name), QStringLiteral("Igual"));
}

void ControlsAccessibilityTest::pressActionClicksAnEnabledButton() {
  THighButton h;
  TGradBtn g;
  QSignalSpy hclicks(&h, &THighButton::clicked);
  QSignalSpy gclicks(&g, &TGradBtn::clicked);
  for (QWidget* w : {static_cast<QWidget*>(&h), static_cast<QWidget*>(&g)}) {
    QAccessibleActionInterface* actions =
        QAccessible::queryAccessibleInterface(w)->actionInterface();
    QVERIFY(actions != nullptr);
    QCOMPARE(actions->actionNames().value(0), QAccessibleActionInterface::pressAction());
    QCOMPARE(actions->actionNames().count(QAccessibleActionInterface::pressAction()), 1);
    actions->doAction(QAccessibleActionInterface::pressAction());
    w->setEnabled(false);
    actions->doAction(QAccessibleActionInterface::pressAction());
  }
  QCOMPARE(hclicks.size(), 1);
  QCOMPARE(gclicks.size(), 1);
}

void ControlsAccessibilityTest::acceleratorIsTheKeyboardShortcut() {
  THighButton b;
  b.setCaption(QStringLiteral("M(&a)"));
  QAccessibleInterface* i = QAccessible::queryAccessibleInterface(&b);
  const QString alt_a = QKeySequence(QStringLiteral("Alt+A")).toString(QKeySequence::NativeText);
  QCOMPARE(i->text(QAccessible::Accelerator), alt_a);
  QCOMPARE(i->actionInterface()->keyBindingsForAction(QAccessibleActionInterface::pressAction()),
           QStringList{alt_a});
  b.setCaption(QStringLiteral("a&&b"));
  QCOMPARE(i->text(QAccessible::Accelerator), QString());
  QVERIFY(i->actionInterface()
              ->keyBindingsForAction(QAccessibleActionInterface::pressAction())
              .isEmpty());
}

void ControlsAccessibilityTest::statesShowDisabledPressedAndFocusable() {
  THighButton h;
  TGradBtn g;
  QAccessibleInterface* hi = QAccessible::queryAccessibleInterface(&h);
  QAccessibleInterface* gi = QAccessible::queryAccessibleInterface(&g);
  QVERIFY(!hi->state().disabled && !hi->state().pressed);
  QVERIFY(hi->state().focusable);
  QVERIFY(!gi->state().focusable);  // no tab stop by default
  h.ShowDown();
  QVERIFY(hi->state().pressed);
  h.ShowUp();
  QVERIFY(!hi->state().pressed);
  h.setEnabled(false);
  g.setEnabled(false);
  QVERIFY(hi->state().disabled);
  QVERIFY(gi->state().disabled);
}

void ControlsAccessibilityTest::captionChangeTellsAssistiveTechnology() {
  QTestAccessibility::initialize();
  if (!QAccessible::isActive()) QAccessible::setActive(true);
  if (!QAccessible::isActive()) QSKIP("no accessibility on this platform plugin");
  THighButton h;
  TGradBtn g;
  QTestAccessibility::clearEvents();
  h.setCaption(QStringLiteral("&Visible"));
  g.setCaption(QStringLiteral("Abrir - Cerrar"));
  h.setCaption(QStringLiteral("&Visible"));  // unchanged: nothing to tell
  QAccessibleEvent h_named(&h, QAccessible::NameChanged);
  QAccessibleEvent g_named(&g, QAccessible::NameChanged);
  QVERIFY(QTestAccessibility::containsEvent(&h_named));
  QVERIFY(QTestAccessibility::containsEvent(&g_named));
  int name_events = 0;
  for (const QAccessibleEvent* e : QTestAccessibility::events())
    if (e->type() == QAccessible::NameChanged) ++name_events;
  QCOMPARE(name_events, 2);
  QTestAccessibility::clearEvents();
}

QTEST_MAIN(ControlsAccessibilityTest)
#include "ControlsAccessibilityTest.moc"
