// SPDX-License-Identifier: GPL-3.0-or-later
#include "THighButton.h"

#include <QApplication>
#include <QDialog>
#include <QDynamicPropertyChangeEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ControlsTestSupport.h"

using controls_test::Grab;
using controls_test::Pixel;
using controls_test::Rgb;
using controls_test::SteppingCounter;
using dravello::WinColor;

namespace {

// Records the look of every paint, so that tests see what reached the screen and when.
class RecordingButton : public THighButton {
 public:
  using THighButton::THighButton;
  struct Look {
    WinColor color, font_color;
    TBevelCut bevel;
  };
  QList<Look> paints;

 protected:
  void paintEvent(QPaintEvent* event) override {
    paints.append({Color(), FontColor(), BevelOuter()});
    THighButton::paintEvent(event);
  }
};

// A window that logs every ModalResult a button stores in it, into the same log as the button's
// events, and forgets it so that the next store shows too.
class RecordingWindow : public QWidget {
 public:
  explicit RecordingWindow(QStringList* log) : log_(log) {}

 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::DynamicPropertyChange &&
        static_cast<QDynamicPropertyChangeEvent*>(e)->propertyName() == "ModalResult") {
      const QVariant value = property("ModalResult");
      if (value.isValid()) {
        log_->append(QStringLiteral("modal %1").arg(value.toInt()));
        setProperty("ModalResult", QVariant());
      }
      return true;
    }
    return QWidget::event(e);
  }

 private:
  QStringList* log_;
};

QString ButtonName(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return QStringLiteral("left");
    case Qt::RightButton:
      return QStringLiteral("right");
    default:
      return QStringLiteral("middle");
  }
}

// The look of the keypad buttons of the calculator's window.
void UseKeypadLook(THighButton& b) {
  b.setUpColor(0x10335A);
  b.setDownColor(0x0000FF);
  b.setUpColorFont(0xBFFFFF);
  b.setDownColorFont(0xFFFFFF);
  b.setBevelOuter(THighButton::bvNone);
  b.setBorderStyle(THighButton::bsSingle);
  b.setCtl3D(false);
}

}  // namespace

class THighButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void aNewButtonHasThePublishedDefaults();
  void settersStoreAndUpColoursShowAtOnce();
  void settingTheCurrentValueDoesNotRepaint();
  void showDownAndShowUpRepaintAtOnce();
  void upColorSetWhileDownShowsAtOnceWithTheDownBevelAndFont();
  void bevelBorderAndBackgroundArePainted_data();
  void bevelBorderAndBackgroundArePainted();
  void captionIsCentredAndOnlyItsAcceleratorUnderlined();
  void aDisabledButtonLooksLikeAnEnabledOne();
  void mouseEventsComeInOrder_data();
  void mouseEventsComeInOrder();
  void doubleClickGivesTwoClicksAndOneModalResult();
  void modalResultClosesAModalDialog();
  void aMousePressLeavesTheFocusAlone();
  void flashShowsTheDownLookWhileHandlingEvents();
  void flashAcrossTheTickCounterWrapLastsAsLongAsAnyOther();
  void negativeFlashShowsBothLooksAndHandlesNoEvent();
  void flashOnADisabledButtonShowsBothLooks();
  void nestedPressesAndFlashesRestoreTheOriginalBevel();
  void buttonDestroyedDuringItsFlashEndsTheFlash();
  void keepDownLightsAtOnceAndGoesUpAfterTheLatestCall();
  void aFlashEndingWhileKeptDownLeavesTheDownLook();
  void exactlyTheFocusedHighlightButtonIsActive();
  void aFocusedButtonAndItsWindowCanBeDestroyed();
  void keyEventsReachTheSignals();
};

void THighButtonTest::aNewButtonHasThePublishedDefaults() {
  THighButton b;
  QCOMPARE(b.size(), QSize(185, 41));
  QCOMPARE(b.Caption(), QString());
  QCOMPARE(b.Color(), 0xC0C0C0u);
  QCOMPARE(b.FontColor(), 0x000000u);
  QCOMPARE(b.UpColor(), 0xC0C0C0u);
  QCOMPARE(b.DownColor(), 0xC0C0C0u);
  QCOMPARE(b.UpColorFont(), 0x000000u);
  QCOMPARE(b.DownColorFont(), 0x000000u);
  QCOMPARE(b.BevelOuter(), THighButton::bvRaised);
  QCOMPARE(b.BorderStyle(), THighButton::bsNone);
  QCOMPARE(b.Ctl3D(), true);
  QCOMPARE(b.Cancel(), false);
  QCOMPARE(b.ModalResult(), 0);
  QCOMPARE(b.TabStop(), true);
  QCOMPARE(b.focusPolicy(), Qt::TabFocus);
  QCOMPARE(b.Tag(), 0);
  QVERIFY(!b.IsDown());
  QVERIFY(!b.IsActive());
  // The property names are those a layout file sets.
  for (const char* name :
       {"Caption", "Color", "FontColor", "BevelOuter", "BorderStyle", "Ctl3D", "Cancel", "UpColor",
        "DownColor", "UpColorFont", "DownColorFont", "ModalResult", "TabStop", "Tag"}) {
    QVERIFY2(b.metaObject()->indexOfProperty(name) >= 0, name);
  }
}

void THighButtonTest::settersStoreAndUpColoursShowAtOnce() {
  THighButton b;
  b.setUpColor(0x10335A);
  QCOMPARE(b.UpColor(), 0x10335Au);
  QCOMPARE(b.Color(), 0x10335Au);
  b.setUpColorFont(0xBFFFFF);
  QCOMPARE(b.FontColor(), 0xBFFFFFu);
  b.setDownColor(0x0000FF);
  b.setDownColorFont(0xFFFFFF);
  QCOMPARE(b.DownColor(), 0x0000FFu);
  QCOMPARE(b.DownColorFont(), 0xFFFFFFu);
  QCOMPARE(b.Color(), 0x10335Au);  // the down colours wait for the next press
  QCOMPARE(b.FontColor(), 0xBFFFFFu);
  b.setTabStop(false);
  QCOMPARE(b.focusPolicy(), Qt::NoFocus);
  b.setCancel(true);
  b.setModalResult(2);
  b.setTag(26);
  QVERIFY(b.setProperty("Caption", QStringLiteral("M(&a)")));
  QVERIFY(b.setProperty("BevelOuter", THighButton::bvLowered));
  QCOMPARE(b.Caption(), QStringLiteral("M(&a)"));
  QCOMPARE(b.BevelOuter(), THighButton::bvLowered);
  QCOMPARE(b.property("Cancel").toBool(), true);
  QCOMPARE(b.property("ModalResult").toInt(), 2);
  QCOMPARE(b.property("Tag").toInt(), 26);
}

void THighButtonTest::settingTheCurrentValueDoesNotRepaint() {
  QWidget window;
  auto* b = new RecordingButton(&window);
  b->setCaption(QStringLiteral("7"));
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTRY_VERIFY(!b->paints.isEmpty());
  QTest::qWait(50);
  const qsizetype before = b->paints.size();

  b->setCaption(b->Caption());
  b->setColor(b->Color());
  b->setFontColor(b->FontColor());
  b->setBevelOuter(b->BevelOuter());
  b->setBorderStyle(b->BorderStyle());
  b->setCtl3D(b->Ctl3D());
  b->setUpColor(b->UpColor());
  b->setUpColorFont(b->UpColorFont());
  b->setDownColor(b->DownColor());
  b->setDownColorFont(b->DownColorFont());
  QTest::qWait(100);
  QCOMPARE(b->paints.size(), before);

  // Each of the look's properties repaints when it changes; the down colours do not.
  b->setDownColor(0x0000FF);
  b->setDownColorFont(0xFFFFFF);
  QTest::qWait(100);
  QCOMPARE(b->paints.size(), before);
  b->setUpColor(0x10335A);
  QTRY_COMPARE(b->paints.size(), before + 1);
  QCOMPARE(b->paints.last().color, 0x10335Au);
  b->setCaption(QStringLiteral("8"));
  QTRY_COMPARE(b->paints.size(), before + 2);
}

void THighButtonTest::showDownAndShowUpRepaintAtOnce() {
  QWidget window;
  auto* b = new RecordingButton(&window);
  UseKeypadLook(*b);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTRY_VERIFY(!b->paints.isEmpty());
  QTest::qWait(50);

  const qsizetype before = b->paints.size();
  b->ShowDown();  // painted before it returns, with no event handled
  QCOMPARE(b->paints.size(), before + 1);
  QCOMPARE(b->paints.last().color, 0x0000FFu);
  QCOMPARE(b->paints.last().font_color, 0xFFFFFFu);
  QCOMPARE(b->paints.last().bevel, THighButton::bvLowered);
  QVERIFY(b->IsDown());
  b->ShowUp();
  QCOMPARE(b->paints.size(), before + 2);
  QCOMPARE(b->paints.last().color, 0x10335Au);
  QCOMPARE(b->paints.last().font_color, 0xBFFFFFu);
  QCOMPARE(b->paints.last().bevel, THighButton::bvNone);
  QVERIFY(!b->IsDown());
}

void THighButtonTest::upColorSetWhileDownShowsAtOnceWithTheDownBevelAndFont() {
  THighButton b;
  UseKeypadLook(b);
  b.ShowDown();
  b.setUpColor(0x00FF00);
  QCOMPARE(b.Color(), 0x00FF00u);
  QCOMPARE(b.FontColor(), 0xFFFFFFu);
  QCOMPARE(b.BevelOuter(), THighButton::bvLowered);
  b.setDownColor(0x123456);  // nothing on the screen until the next press
  QCOMPARE(b.Color(), 0x00FF00u);
  b.ShowUp();
  QCOMPARE(b.Color(), 0x00FF00u);
  QCOMPARE(b.BevelOuter(), THighButton::bvNone);
  b.ShowDown();
  QCOMPARE(b.Color(), 0x123456u);
}

void THighButtonTest::bevelBorderAndBackgroundArePainted_data() {
  QTest::addColumn<int>("bevel");
  QTest::addColumn<int>("border");
  QTest::addColumn<bool>("ctl3d");
  // Expected colours as palette roles (-1: the background 0x10335A) at the corners and the
  // first pixels inside them, from the outside in.
  QTest::addColumn<QList<int>>("topLeft");      // (0,0), (1,1), (2,2)
  QTest::addColumn<QList<int>>("bottomRight");  // (w-1,h-1), (w-2,h-2), (w-3,h-3)
  QTest::addColumn<QList<int>>("topRight");     // (w-1,0), (w-2,1), (w-3,2)
  constexpr int bg = -1, light = QPalette::Light, dark = QPalette::Dark,
                text = QPalette::WindowText, shadow = QPalette::Shadow,
                midlight = QPalette::Midlight;
  using B = THighButton;
  QTest::newRow("raised") << int(B::bvRaised) << int(B::bsNone) << false
                          << QList<int>{light, bg, bg} << QList<int>{dark, bg, bg}
                          << QList<int>{dark, bg, bg};
  QTest::newRow("lowered") << int(B::bvLowered) << int(B::bsNone) << false
                           << QList<int>{dark, bg, bg} << QList<int>{light, bg, bg}
                           << QList<int>{light, bg, bg};
  QTest::newRow("none") << int(B::bvNone) << int(B::bsNone) << false << QList<int>{bg, bg, bg}
                        << QList<int>{bg, bg, bg} << QList<int>{bg, bg, bg};
  QTest::newRow("single border, flat")
      << int(B::bvNone) << int(B::bsSingle) << false << QList<int>{text, bg, bg}
      << QList<int>{text, bg, bg} << QList<int>{text, bg, bg};
  QTest::newRow("single border, flat, raised")
      << int(B::bvRaised) << int(B::bsSingle) << false << QList<int>{text, light, bg}
      << QList<int>{text, dark, bg} << QList<int>{text, dark, bg};
  QTest::newRow("single border, sunken edge, lowered")
      << int(B::bvLowered) << int(B::bsSingle) << true << QList<int>{dark, shadow, dark}
      << QList<int>{light, midlight, light} << QList<int>{light, midlight, light};
}

void THighButtonTest::bevelBorderAndBackgroundArePainted() {
  QFETCH(int, bevel);
  QFETCH(int, border);
  QFETCH(bool, ctl3d);
  QFETCH(QList<int>, topLeft);
  QFETCH(QList<int>, bottomRight);
  QFETCH(QList<int>, topRight);
  THighButton b;
  b.resize(43, 31);
  b.setUpColor(0x10335A);
  b.setBevelOuter(THighButton::TBevelCut(bevel));
  b.setBorderStyle(THighButton::TBorderStyle(border));
  b.setCtl3D(ctl3d);
  const QImage image = Grab(b);
  const auto expected = [&](int role) {
    return role < 0 ? Rgb(0x10335A) : QColor(b.palette().color(QPalette::ColorRole(role)).rgb());
  };
  const int w = image.width(), h = image.height();
  for (int i = 0; i < 3; ++i) {
    QCOMPARE(Pixel(image, i, i), expected(topLeft[i]));
    QCOMPARE(Pixel(image, w - 1 - i, h - 1 - i), expected(bottomRight[i]));
    QCOMPARE(Pixel(image, w - 1 - i, i), expected(topRight[i]));
  }
  QCOMPARE(Pixel(image, 10, 4), Rgb(0x10335A));
}

namespace {

// The box around the pixels of `image` that differ from `background`.
QRect InkBox(const QImage& image, const QColor& background, const QRect& area) {
  QRect box;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (Pixel(image, x, y) != background) box |= QRect(x, y, 1, 1);
  return box;
}

QImage CaptionImage(const QString& caption) {
  THighButton b;
  b.resize(120, 41);
  UseKeypadLook(b);
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(18);
  b.setFont(font);
  b.setCaption(caption);
  return Grab(b);
}

}  // namespace

void THighButtonTest::captionIsCentredAndOnlyItsAcceleratorUnderlined() {
  const QImage plain = CaptionImage(QStringLiteral("Mem"));
  const QRect inside(1, 1, 118, 39);
  const QRect ink = InkBox(plain, Rgb(0x10335A), inside);
  QVERIFY(!ink.isEmpty());
  QVERIFY2(std::abs((ink.left() + ink.right() + 1) - 120) <= 2, "centred across");
  // Vertically the line of the font's height is centred; the letters lie within it.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(18);
  const int height = QFontMetrics(font).height();
  const int top = (1 + 39 + 1 - height) / 2;
  QVERIFY(ink.top() >= top && ink.bottom() < top + height);

  const QImage marked = CaptionImage(QStringLiteral("&Mem"));
  QVERIFY(marked != plain);  // the underline
  QVERIFY(std::abs(InkBox(marked, Rgb(0x10335A), inside).left() - ink.left()) <= 1);
  QCOMPARE(CaptionImage(QStringLiteral("M&em")), CaptionImage(QStringLiteral("&M&em")));
  QVERIFY(CaptionImage(QStringLiteral("M&em")) != marked);
  QCOMPARE(CaptionImage(QStringLiteral("Mem&")), plain);
  QCOMPARE(CaptionImage(QStringLiteral("&&x")), CaptionImage(QStringLiteral("&&x&")));
  QVERIFY(CaptionImage(QStringLiteral("&&x")) != CaptionImage(QStringLiteral("&&&x")));
  QVERIFY(CaptionImage(QStringLiteral("&&x")) != CaptionImage(QStringLiteral("x")));
}

void THighButtonTest::aDisabledButtonLooksLikeAnEnabledOne() {
  for (bool ctl3d : {false, true}) {
    QWidget window;
    auto* enabled = new THighButton(&window);
    auto* disabled = new THighButton(&window);
    for (THighButton* b : {enabled, disabled}) {
      b->setCaption(QStringLiteral("(a)->"));
      b->setBorderStyle(THighButton::bsSingle);
      b->setCtl3D(ctl3d);
    }
    disabled->setEnabled(false);
    QCOMPARE(Grab(*disabled), Grab(*enabled));
  }
}

void THighButtonTest::mouseEventsComeInOrder_data() {
  QTest::addColumn<Qt::MouseButton>("button");
  QTest::addColumn<QPoint>("releaseAt");
  QTest::addColumn<QStringList>("events");
  const QPoint inside(20, 10), outside(300, 10);
  QTest::newRow("left click") << Qt::LeftButton << inside
                              << QStringList{"down left (down)", "modal 7", "up left (up)",
                                             "click"};
  QTest::newRow("left released off the button")
      << Qt::LeftButton << outside << QStringList{"down left (down)", "up left (up)", "click"};
  QTest::newRow("right click") << Qt::RightButton << inside
                               << QStringList{"down right (down)", "up right (up)", "click"};
  QTest::newRow("middle click") << Qt::MiddleButton << inside
                                << QStringList{"down middle (down)", "up middle (up)", "click"};
  // The release of another button than the left one clicks only over the button, but it always
  // ends the down look.
  QTest::newRow("right released off the button")
      << Qt::RightButton << outside << QStringList{"down right (down)", "up right (up)"};
}

void THighButtonTest::mouseEventsComeInOrder() {
  QFETCH(Qt::MouseButton, button);
  QFETCH(QPoint, releaseAt);
  QFETCH(QStringList, events);
  QStringList log;
  RecordingWindow window(&log);
  window.resize(400, 100);
  auto* b = new THighButton(&window);
  b->setGeometry(0, 0, 100, 40);
  b->setModalResult(7);
  const auto state = [b] { return b->IsDown() ? QStringLiteral("down") : QStringLiteral("up"); };
  connect(b, &THighButton::mouseDown, [&](Qt::MouseButton m, Qt::KeyboardModifiers, QPoint) {
    log << QStringLiteral("down %1 (%2)").arg(ButtonName(m), state());
  });
  connect(b, &THighButton::mouseUp, [&](Qt::MouseButton m, Qt::KeyboardModifiers, QPoint) {
    log << QStringLiteral("up %1 (%2)").arg(ButtonName(m), state());
  });
  connect(b, &THighButton::clicked, [&] { log << QStringLiteral("click"); });
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));

  QTest::mousePress(b, button, Qt::NoModifier, QPoint(20, 10));
  QTest::mouseRelease(b, button, Qt::NoModifier, releaseAt);
  QCOMPARE(log, events);
  QVERIFY(!b->IsDown());
}

void THighButtonTest::doubleClickGivesTwoClicksAndOneModalResult() {
  QStringList log;
  RecordingWindow window(&log);
  auto* b = new THighButton(&window);
  b->setModalResult(1);
  connect(b, &THighButton::mouseDown,
          [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { log << QStringLiteral("down"); });
  connect(b, &THighButton::mouseUp,
          [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { log << QStringLiteral("up"); });
  connect(b, &THighButton::clicked, [&] { log << QStringLiteral("click"); });
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  // A double click: press, release, the double-click press, release.
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  QTest::mouseDClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
  QCOMPARE(log, (QStringList{"down", "modal 1", "up", "click", "down", "up", "click"}));
}

void THighButtonTest::modalResultClosesAModalDialog() {
  QDialog dialog;
  auto* ok = new THighButton(&dialog);
  ok->setGeometry(0, 0, 80, 30);
  ok->setModalResult(QDialog::Accepted);
  auto* none = new THighButton(&dialog);
  none->setGeometry(0, 40, 80, 30);
  dialog.setResult(5);
  dialog.open();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTest::mouseClick(none, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QVERIFY(dialog.isVisible());  // a button with ModalResult 0 stores 0 and closes nothing
  QCOMPARE(dialog.result(), 0);
  QSignalSpy finished(&dialog, &QDialog::finished);
  QTest::mouseClick(ok, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QVERIFY(!dialog.isVisible());
  QCOMPARE(finished.size(), 1);
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void THighButtonTest::aMousePressLeavesTheFocusAlone() {
  QWidget window;
  auto* edit = new QLineEdit(&window);
  auto* b = new THighButton(&window);
  b->move(0, 40);
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  edit->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), edit);
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  QCOMPARE(QApplication::focusWidget(), edit);
}

void THighButtonTest::flashShowsTheDownLookWhileHandlingEvents() {
  QWidget window;
  auto* b = new RecordingButton(&window);
  UseKeypadLook(*b);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(50);
  b->paints.clear();

  bool ran_while_down = false, ran = false;
  QTimer::singleShot(0, b, [&] {
    ran = true;
    ran_while_down = b->IsDown();
  });
  SteppingCounter counter(1000, 10);
  b->Flash(30);
  QVERIFY(ran);
  QVERIFY(ran_while_down);
  QVERIFY(!b->IsDown());
  // The start, then readings at 10, 20, 30 and 40 ms: the look comes back only once more than
  // 30 ms have passed.
  QCOMPARE(counter.reads, 5);
  QCOMPARE(b->paints.first().color, 0x0000FFu);
  QCOMPARE(b->paints.last().color, 0x10335Au);
  QCOMPARE(b->paints.last().bevel, THighButton::bvNone);
}

void THighButtonTest::flashAcrossTheTickCounterWrapLastsAsLongAsAnyOther() {
  THighButton b;
  int reads_plain = 0;
  {
    SteppingCounter counter(5000, 7);
    b.Flash(40);
    reads_plain = counter.reads;
  }
  for (std::uint32_t start : {0xFFFFFFFFu, 0xFFFFFFF0u, 0xFFFFFFE0u}) {
    SteppingCounter counter(start, 7);
    b.Flash(40);
    QCOMPARE(counter.reads, reads_plain);
  }
  QCOMPARE(reads_plain, 7);  // 0, 7, ..., 42 ms: the first reading past 40 ends it
}

void THighButtonTest::negativeFlashShowsBothLooksAndHandlesNoEvent() {
  QWidget window;
  auto* b = new RecordingButton(&window);
  UseKeypadLook(*b);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(50);
  b->paints.clear();
  bool ran = false;
  QTimer::singleShot(0, b, [&] { ran = true; });
  b->Flash(-100);
  QVERIFY(!ran);
  QCOMPARE(b->paints.size(), 2);
  QCOMPARE(b->paints[0].color, 0x0000FFu);
  QCOMPARE(b->paints[1].color, 0x10335Au);
  QTRY_VERIFY(ran);
}

void THighButtonTest::flashOnADisabledButtonShowsBothLooks() {
  QWidget window;
  auto* b = new RecordingButton(&window);
  UseKeypadLook(*b);
  b->setEnabled(false);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(50);
  b->paints.clear();
  SteppingCounter counter(0, 5);
  b->Flash(5);
  QCOMPARE(b->paints.size(), 2);
  QCOMPARE(b->paints[0].color, 0x0000FFu);
  QCOMPARE(b->paints[0].bevel, THighButton::bvLowered);
  QCOMPARE(b->paints[1].color, 0x10335Au);
  QCOMPARE(b->paints[1].bevel, THighButton::bvNone);
}

void THighButtonTest::nestedPressesAndFlashesRestoreTheOriginalBevel() {
  THighButton b;
  QCOMPARE(b.BevelOuter(), THighButton::bvRaised);
  b.ShowDown();
  b.ShowDown();  // a second mouse button, or a key that repeats
  b.ShowUp();
  QCOMPARE(b.BevelOuter(), THighButton::bvRaised);
  b.ShowUp();
  QCOMPARE(b.BevelOuter(), THighButton::bvRaised);

  int inner_flashes = 0;
  QTimer::singleShot(0, &b, [&] {
    ++inner_flashes;
    b.Flash(5);
  });
  SteppingCounter counter(0, 4);
  b.Flash(30);
  QCOMPARE(inner_flashes, 1);
  QVERIFY(!b.IsDown());
  QCOMPARE(b.BevelOuter(), THighButton::bvRaised);
  QCOMPARE(b.Color(), b.UpColor());
}

void THighButtonTest::buttonDestroyedDuringItsFlashEndsTheFlash() {
  QPointer<THighButton> b = new THighButton;
  QTimer::singleShot(0, [&] { delete b.data(); });
  b->Flash(5000);  // returns as soon as the button is gone, without touching it
  QVERIFY(b.isNull());
}

// A tick counter that the test sets by hand.
class ManualCounter : public dravello::TickCounter {
 public:
  ManualCounter() { Install(this); }
  ~ManualCounter() override { Install(nullptr); }
  std::uint32_t Now() override { return now; }
  std::uint32_t now = 0;
};

void THighButtonTest::keepDownLightsAtOnceAndGoesUpAfterTheLatestCall() {
  ManualCounter counter;
  THighButton b;
  UseKeypadLook(b);
  bool ran = false;
  QTimer::singleShot(0, &b, [&] { ran = true; });
  b.KeepDown(100);
  QVERIFY(!ran);  // no wait: no event was handled
  QVERIFY(b.IsDown());
  QCOMPARE(b.Color(), 0x0000FFu);
  QCOMPARE(b.BevelOuter(), THighButton::bvLowered);
  counter.now = 60;
  QTest::qWait(150);  // the timer has looked, and found 60 ms gone
  QVERIFY(b.IsDown());
  b.KeepDown(100);  // a repeat: until more than 100 ms after 60
  counter.now = 160;
  QTest::qWait(150);
  QVERIFY(b.IsDown());
  counter.now = 161;
  QTRY_VERIFY(!b.IsDown());
  QCOMPARE(b.Color(), 0x10335Au);
  QCOMPARE(b.BevelOuter(), THighButton::bvNone);
}

void THighButtonTest::aFlashEndingWhileKeptDownLeavesTheDownLook() {
  ManualCounter counter;
  THighButton b;
  UseKeypadLook(b);
  QTimer::singleShot(0, &b, [&] {
    b.KeepDown(100);
    counter.now = 50;
  });
  b.Flash(30);
  QVERIFY(b.IsDown());
  counter.now = 101;
  QTRY_VERIFY(!b.IsDown());
  QCOMPARE(b.BevelOuter(), THighButton::bvNone);
}

void THighButtonTest::exactlyTheFocusedHighlightButtonIsActive() {
  QWidget window;
  auto* b1 = new THighButton(&window);
  auto* b2 = new THighButton(&window);
  auto* edit = new QLineEdit(&window);
  QWidget other;
  auto* elsewhere = new QLineEdit(&other);
  window.show();
  other.show();
  QVERIFY(QTest::qWaitForWindowExposed(&other));
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));

  b1->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), b1);
  QVERIFY(b1->IsActive() && !b2->IsActive());
  b2->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), b2);
  QVERIFY(!b1->IsActive() && b2->IsActive());
  edit->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), edit);
  QVERIFY(!b1->IsActive() && !b2->IsActive());
  b1->setFocus();
  QTRY_VERIFY(b1->IsActive());

  // The focus leaving for another window changes nothing here.
  other.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&other));
  elsewhere->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), elsewhere);
  QVERIFY(b1->IsActive() && !b2->IsActive());
}

// The widget underneath a destroyed button gives up the focus after the button's own destructor
// has run; the button must not hear of it then (UndefinedBehaviorSanitizer sees the call on the
// half-destroyed object in the sanitizer build).
void THighButtonTest::aFocusedButtonAndItsWindowCanBeDestroyed() {
  auto window = std::make_unique<QWidget>();
  auto* b1 = new THighButton(window.get());
  auto* b2 = new THighButton(window.get());
  window->show();
  window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window.get()));
  b1->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), b1);
  delete b1;
  QVERIFY(QApplication::focusWidget() != b1);
  b2->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), b2);
  window.reset();
  QCOMPARE(QApplication::focusWidget(), nullptr);
}

void THighButtonTest::keyEventsReachTheSignals() {
  QWidget window;
  auto* b = new THighButton(&window);
  QStringList down, press, up;
  connect(b, &THighButton::keyDown, [&](QKeyEvent* e) { down << QString::number(e->key()); });
  connect(b, &THighButton::keyPress, [&](QKeyEvent* e) { press << e->text(); });
  connect(b, &THighButton::keyUp, [&](QKeyEvent* e) { up << QString::number(e->key()); });
  window.show();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  b->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), b);
  QTest::keyClick(b, Qt::Key_7);
  QTest::keyClick(b, Qt::Key_F2);
  const QStringList keys{QString::number(Qt::Key_7), QString::number(Qt::Key_F2)};
  QCOMPARE(down, keys);
  QCOMPARE(press, QStringList{"7"});  // F2 types no character
  QCOMPARE(up, keys);
}

QTEST_MAIN(THighButtonTest)
#include "THighButtonTest.moc"
