// SPDX-License-Identifier: GPL-3.0-or-later
// Both buttons built from a layout file, as the calculator's window builds them: promoted
// widgets whose properties the layout sets, and clicks connected to handlers by name.

#include <QSignalSpy>
#include <QTest>

#include "TGradBtn.h"
#include "THighButton.h"
#include "ui_ButtonsForm.h"

namespace {

// Handlers connected by name (on_<object>_<signal>) when the layout is set up.
class Handlers : public QWidget {
  Q_OBJECT

 public:
  Handlers() { ui.setupUi(this); }
  Ui::ButtonsForm ui;
  QStringList calls;

 private slots:
  void on_HighButton24_clicked() { calls << QStringLiteral("HighButton24"); }
  void on_GradBtn1_clicked() { calls << QStringLiteral("GradBtn1"); }
};

}  // namespace

class ButtonsFormTest : public QObject {
  Q_OBJECT

 private slots:
  void layoutSetsThePublishedProperties();
  void clicksReachTheHandlersNamedAfterTheButtons();
};

void ButtonsFormTest::layoutSetsThePublishedProperties() {
  Handlers form;
  const THighButton* h = form.ui.HighButton24;
  QCOMPARE(h->Caption(), QStringLiteral("M(&a)"));
  QCOMPARE(h->geometry(), QRect(4, 4, 51, 31));
  QCOMPARE(h->UpColor(), 0x10335Au);
  QCOMPARE(h->Color(), 0x10335Au);
  QCOMPARE(h->DownColor(), 0x0000FFu);
  QCOMPARE(h->UpColorFont(), 0xBFFFFFu);
  QCOMPARE(h->FontColor(), 0xBFFFFFu);
  QCOMPARE(h->DownColorFont(), 0xFFFFFFu);
  QCOMPARE(h->BevelOuter(), THighButton::bvNone);
  QCOMPARE(h->BorderStyle(), THighButton::bsSingle);
  QCOMPARE(h->Ctl3D(), false);
  QCOMPARE(h->Cancel(), true);
  QCOMPARE(h->ModalResult(), 2);
  QCOMPARE(h->TabStop(), false);
  QCOMPARE(h->Tag(), 24);
  QCOMPARE(h->toolTip(), QStringLiteral("Almacena el Display en la Memoria (A)"));
  QCOMPARE(h->accessibleDescription(), QStringLiteral("HighButton24"));
  // Properties that a layout sets as dynamic ones, as a promoted widget's are in Designer.
  QCOMPARE(form.ui.HighButton26->UpColorFont(), 0x404080u);
  QCOMPARE(form.ui.HighButton26->BevelOuter(), THighButton::bvLowered);

  const TGradBtn* g = form.ui.GradBtn1;
  QCOMPARE(g->Caption(), QStringLiteral("Abrir - Cerrar"));
  QCOMPARE(g->geometry(), QRect(-3, 50, 79, 16));
  QCOMPARE(g->BtnHiliteClr(), 0x000000u);
  QCOMPARE(g->BtnShadowClr(), 0x000000u);
  QCOMPARE(g->TxtHiliteClr(), 0x80000014u);
  QCOMPARE(g->TxtShadowClr(), 0x80000015u);
  QCOMPARE(g->BeginColor(), 0x10335Au);
  QCOMPARE(g->EndColor(), 0x0080FFu);
  QCOMPARE(g->SwapColors(), false);
  QCOMPARE(g->GradientStyle(), TGradBtn::gsElliptic);
  QCOMPARE(g->TextStyle(), TGradBtn::tsRaised);
  QCOMPARE(g->TextShadeType(), TGradBtn::stHeavy);
  QCOMPARE(g->FontColor(), 0x00FFFFu);
  QCOMPARE(g->TabStop(), true);
}

void ButtonsFormTest::clicksReachTheHandlersNamedAfterTheButtons() {
  Handlers form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  QTest::mouseClick(form.ui.HighButton24, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseClick(form.ui.GradBtn1, Qt::LeftButton, Qt::NoModifier, QPoint(40, 8));
  QCOMPARE(form.calls, (QStringList{"HighButton24", "GradBtn1"}));
}

QTEST_MAIN(ButtonsFormTest)
#include "ButtonsFormTest.moc"
