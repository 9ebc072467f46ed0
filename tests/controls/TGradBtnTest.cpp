// SPDX-License-Identifier: GPL-3.0-or-later
#include "TGradBtn.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "ControlsTestSupport.h"

using controls_test::Grab;
using controls_test::Pixel;
using controls_test::Rgb;
using dravello::WinColor;

namespace {

class CountingGradBtn : public TGradBtn {
 public:
  using TGradBtn::TGradBtn;
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent* event) override {
    ++paints;
    TGradBtn::paintEvent(event);
  }
};

// A button whose gradient runs in the red channel from 0 to 255, so that a pixel's red value
// is its band index for the styles of 256 bands, inside a frame of two other colours.
void UseRedRamp(TGradBtn& b, TGradBtn::TGradientStyle style, QSize size = QSize(100, 40)) {
  b.resize(size);
  b.setGradientStyle(style);
  b.setBeginColor(0x000000);
  b.setEndColor(0x0000FF);
  b.setBtnHiliteClr(0xFFFFFF);
  b.setBtnShadowClr(0x00FF00);
}

// Text drawn without antialiasing in pure colours on black, so that every copy of the caption
// can be told apart by its colour.
void UseTextColours(TGradBtn& b) {
  b.resize(120, 30);
  b.setBeginColor(0x000000);
  b.setEndColor(0x000000);
  b.setBtnHiliteClr(0x000000);
  b.setBtnShadowClr(0x000000);
  b.setFontColor(0x00FF00);     // green
  b.setTxtHiliteClr(0xFFFFFF);  // white
  b.setTxtShadowClr(0xFF0000);  // blue
  QFont font(QStringLiteral("Liberation Sans"));
  font.setPixelSize(16);
  font.setStyleStrategy(QFont::NoAntialias);
  b.setFont(font);
  b.setCaption(QStringLiteral("Abrir"));
}

QRect ColourBox(const QImage& image, const QColor& colour) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (Pixel(image, x, y) == colour) box |= QRect(x, y, 1, 1);
  return box;
}

}  // namespace

class TGradBtnTest : public QObject {
  Q_OBJECT

 private slots:
  void aNewButtonHasThePublishedDefaults();
  void changedPropertiesRepaintAndUnchangedOnesDoNot();
  void vertCenterOn25PixelsPaints13MirroredBands();
  void bandColoursOfEachStyle_data();
  void bandColoursOfEachStyle();
  void ellipticRunsFromTheRimToTheCentreAndCoversTheCorners();
  void everyStyleCoversTheWholeButton_data();
  void everyStyleCoversTheWholeButton();
  void wideRectangleShowsTheBeginColourWhereNoBandReaches();
  void frameCornersUpAndDown();
  void pressExchangesTheColoursAndReleaseUndoesIt();
  void withoutSwapTheGradientKeepsItsDirection();
  void swapColorsChangedWhileHeldLeavesTheColoursExchanged();
  void clickComesBeforeTheReleaseWhileStillDown();
  void otherButtonsShowTheDownStateButDoNotClick_data();
  void otherButtonsShowTheDownStateButDoNotClick();
  void doubleClickClicksOnceAndRestoresTheColours();
  void disabledButtonIgnoresTheMouse();
  void textStylesDrawTheirCopies_data();
  void textStylesDrawTheirCopies();
  void captionMovesOnePixelWhenDown();
  void captionWiderThanTheButtonIsAnchoredLeftOfIt();
};

void TGradBtnTest::aNewButtonHasThePublishedDefaults() {
  TGradBtn b;
  QCOMPARE(b.size(), QSize(75, 25));
  QCOMPARE(b.BtnHiliteClr(), 0x80000014u);
  QCOMPARE(b.BtnShadowClr(), 0x80000010u);
  QCOMPARE(b.TxtHiliteClr(), 0x80000014u);
  QCOMPARE(b.TxtShadowClr(), 0x80000010u);
  QCOMPARE(b.BeginColor(), 0x800000u);
  QCOMPARE(b.EndColor(), 0xFFFF00u);
  QCOMPARE(b.SwapColors(), true);
  QCOMPARE(b.GradientStyle(), TGradBtn::gsVertCenter);
  QCOMPARE(b.TextStyle(), TGradBtn::tsNormal);
  QCOMPARE(b.TextShadeType(), TGradBtn::stLight);
  QCOMPARE(b.TabStop(), false);
  QCOMPARE(b.focusPolicy(), Qt::NoFocus);
  QCOMPARE(b.FontColor(), dravello::ToWinColor(b.palette().color(QPalette::WindowText)));
  QVERIFY(!b.IsDown());
  // The stored ordinal values of the enumerations.
  QCOMPARE(int(TGradBtn::gsHorizontal), 0);
  QCOMPARE(int(TGradBtn::gsHorizCenter), 5);
  QCOMPARE(int(TGradBtn::tsInset), 2);
  QCOMPARE(int(TGradBtn::stHeavy), 1);
  for (const char* name : {"Caption", "BtnHiliteClr", "BtnShadowClr", "TxtHiliteClr",
                           "TxtShadowClr", "BeginColor", "EndColor", "SwapColors", "GradientStyle",
                           "TextStyle", "TextShadeType", "FontColor", "TabStop"}) {
    QVERIFY2(b.metaObject()->indexOfProperty(name) >= 0, name);
  }
  b.setFontColor(0x00FFFF);
  QCOMPARE(b.FontColor(), 0x00FFFFu);
  b.resetFontColor();
  QCOMPARE(b.FontColor(), dravello::ToWinColor(b.palette().color(QPalette::WindowText)));
}

void TGradBtnTest::changedPropertiesRepaintAndUnchangedOnesDoNot() {
  QWidget window;
  auto* b = new CountingGradBtn(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTRY_VERIFY(b->paints > 0);
  QTest::qWait(50);
  int before = b->paints;

  b->setCaption(b->Caption());
  b->setBtnHiliteClr(b->BtnHiliteClr());
  b->setBtnShadowClr(b->BtnShadowClr());
  b->setTxtHiliteClr(b->TxtHiliteClr());
  b->setTxtShadowClr(b->TxtShadowClr());
  b->setBeginColor(b->BeginColor());
  b->setEndColor(b->EndColor());
  b->setGradientStyle(b->GradientStyle());
  b->setTextStyle(b->TextStyle());
  b->setTextShadeType(b->TextShadeType());
  b->setSwapColors(false);  // stored only
  QTest::qWait(100);
  QCOMPARE(b->paints, before);
  QCOMPARE(b->SwapColors(), false);

  const QList<std::function<void()>> changes{
      [&] { b->setCaption(QStringLiteral("x")); },
      [&] { b->setBtnHiliteClr(1); },
      [&] { b->setBtnShadowClr(2); },
      [&] { b->setTxtHiliteClr(3); },
      [&] { b->setTxtShadowClr(4); },
      [&] { b->setBeginColor(5); },
      [&] { b->setEndColor(6); },
      [&] { b->setGradientStyle(TGradBtn::gsRectangle); },
      [&] { b->setTextStyle(TGradBtn::tsInset); },
      [&] { b->setTextShadeType(TGradBtn::stHeavy); },
  };
  for (const auto& change : changes) {
    before = b->paints;
    change();
    QTRY_COMPARE(b->paints, before + 1);
  }
}

void TGradBtnTest::vertCenterOn25PixelsPaints13MirroredBands() {
  TGradBtn b;
  b.resize(40, 25);
  b.setBeginColor(0x000000);
  b.setEndColor(0x000B78);  // red 0 to 120, green 0 to 11: band i has red 10 i
  const QImage image = Grab(b);
  // Green md(i, 11, 12): halves away from zero (i = 6 gives 5.5, hence 6).
  const int green[13] = {0, 1, 2, 3, 4, 5, 6, 6, 7, 8, 9, 10, 11};
  for (int i = 1; i <= 12; ++i) {
    QCOMPARE(Pixel(image, 5, i), QColor(10 * i, green[i], 0));
    QCOMPARE(Pixel(image, 20, 24 - i), QColor(10 * i, green[i], 0));
  }
  QCOMPARE(Pixel(image, 5, 12), Rgb(0x000B78));  // the middle row has the end colour
}

void TGradBtnTest::bandColoursOfEachStyle_data() {
  QTest::addColumn<int>("style");
  QTest::addColumn<QList<QPoint>>("points");
  QTest::addColumn<QList<int>>("reds");
  // 100 x 40; the expected values follow the band geometry by hand: a horizontal band i spans
  // x from md(i, 100, 256) to md(i + 1, 100, 256), and so on.
  QTest::newRow("horizontal") << int(TGradBtn::gsHorizontal)
                              << QList<QPoint>{{1, 20},  {2, 5},   {25, 20}, {50, 30},
                                               {75, 20}, {97, 20}, {98, 1}}
                              << QList<int>{3, 6, 65, 129, 193, 249, 252};
  QTest::newRow("vertical") << int(TGradBtn::gsVertical)
                            << QList<QPoint>{{50, 1}, {3, 10}, {50, 20}, {97, 30}, {50, 38}}
                            << QList<int>{9, 67, 131, 195, 246};
  QTest::newRow("rectangle") << int(TGradBtn::gsRectangle)
                             << QList<QPoint>{{1, 20},  {2, 20},  {10, 20}, {25, 20}, {50, 1},
                                              {50, 10}, {49, 19}, {50, 20}, {98, 20}}
                             << QList<int>{9, 14, 55, 131, 24, 139, 253, 241, 4};
  // Columns i and 99 - i take band i of 50: red md(i, 255, 50).
  QTest::newRow("horizontal centre")
      << int(TGradBtn::gsHorizCenter)
      << QList<QPoint>{{1, 20}, {10, 20}, {25, 3}, {49, 20}, {50, 20}, {51, 36}, {98, 20}}
      << QList<int>{5, 51, 128, 255, 255, 245, 5};
  // Rows i and 39 - i take band i of 20: red md(i, 255, 20). The last band, 20, paints rows
  // 20 and 19, over band 19.
  QTest::newRow("vertical centre")
      << int(TGradBtn::gsVertCenter)
      << QList<QPoint>{{50, 1}, {50, 10}, {3, 18}, {3, 19}, {96, 20}, {50, 21}, {50, 38}}
      << QList<int>{13, 128, 230, 255, 255, 230, 13};
}

void TGradBtnTest::bandColoursOfEachStyle() {
  QFETCH(int, style);
  QFETCH(QList<QPoint>, points);
  QFETCH(QList<int>, reds);
  TGradBtn b;
  UseRedRamp(b, TGradBtn::TGradientStyle(style));
  const QImage image = Grab(b);
  for (qsizetype k = 0; k < points.size(); ++k) {
    QCOMPARE(Pixel(image, points[k].x(), points[k].y()), QColor(reds[k], 0, 0));
  }
}

void TGradBtnTest::ellipticRunsFromTheRimToTheCentreAndCoversTheCorners() {
  TGradBtn b;
  UseRedRamp(b, TGradBtn::gsElliptic, QSize(101, 41));
  const QImage image = Grab(b);
  // Red md(i, 255, 155): band 0 is black, the last bands near the centre almost pure red. The
  // corners lie in the first few ellipses only.
  for (QPoint corner : {QPoint(1, 1), QPoint(99, 1), QPoint(1, 39), QPoint(99, 39)}) {
    const QColor c = Pixel(image, corner.x(), corner.y());
    QVERIFY(c.red() < 32 && c.green() == 0 && c.blue() == 0);
  }
  QVERIFY(Pixel(image, 50, 20).red() >= 240);
  int previous = -1;
  for (int x = 1; x <= 50; ++x) {
    const QColor c = Pixel(image, x, 20);
    QCOMPARE(c.green(), 0);
    QVERIFY2(c.red() >= previous, qPrintable(QStringLiteral("x = %1").arg(x)));
    previous = c.red();
  }
}

void TGradBtnTest::everyStyleCoversTheWholeButton_data() {
  QTest::addColumn<int>("style");
  QTest::addColumn<QSize>("size");
  for (int style = TGradBtn::gsHorizontal; style <= TGradBtn::gsHorizCenter; ++style) {
    for (QSize size : {QSize(79, 16), QSize(3, 3), QSize(1, 9), QSize(600, 20)}) {
      QTest::addRow("style %d, %dx%d", style, size.width(), size.height()) << style << size;
    }
  }
}

void TGradBtnTest::everyStyleCoversTheWholeButton() {
  QFETCH(int, style);
  QFETCH(QSize, size);
  // The parent is magenta; no pixel of it may show through the button, which never erases
  // its background and must paint every pixel itself.
  QWidget parent;
  parent.setAutoFillBackground(true);
  QPalette pal = parent.palette();
  pal.setColor(QPalette::Window, Qt::magenta);
  parent.setPalette(pal);
  parent.resize(size + QSize(10, 10));
  auto* b = new TGradBtn(&parent);
  b->setGeometry(QRect(QPoint(5, 5), size));
  b->setGradientStyle(TGradBtn::TGradientStyle(style));
  b->setBeginColor(0x10335A);
  b->setEndColor(0x0080FF);
  const QImage image = parent.grab().toImage().convertToFormat(QImage::Format_RGB32);
  QCOMPARE(ColourBox(image.copy(b->geometry()), QColor(Qt::magenta)), QRect());
}

void TGradBtnTest::wideRectangleShowsTheBeginColourWhereNoBandReaches() {
  // From 510 pixels on, the first rectangle leaves a strip inside the frame uncovered.
  TGradBtn b;
  UseRedRamp(b, TGradBtn::gsRectangle, QSize(1200, 20));
  b.setBeginColor(0x000040);
  const QImage image = Grab(b);
  QCOMPARE(Pixel(image, 1, 10), Rgb(0x000040));
  QCOMPARE(Pixel(image, 1198, 10), Rgb(0x000040));
  QCOMPARE(Pixel(image, 3, 10), QColor(0x40, 0, 0));  // band 0 itself
}

void TGradBtnTest::frameCornersUpAndDown() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  UseRedRamp(*b, TGradBtn::gsHorizontal, QSize(30, 12));
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QColor light = Rgb(0xFFFFFF), dark = Rgb(0x00FF00);
  const auto check = [&](const QColor& top, const QColor& bottom) {
    const QImage image = Grab(*b);
    QCOMPARE(Pixel(image, 0, 0), top);
    QCOMPARE(Pixel(image, 15, 0), top);
    QCOMPARE(Pixel(image, 0, 6), top);
    QCOMPARE(Pixel(image, 0, 10), top);
    QCOMPARE(Pixel(image, 28, 0), top);
    QCOMPARE(Pixel(image, 29, 0), bottom);  // top-right corner
    QCOMPARE(Pixel(image, 0, 11), bottom);  // bottom-left corner
    QCOMPARE(Pixel(image, 29, 11), bottom);
    QCOMPARE(Pixel(image, 29, 6), bottom);
    QCOMPARE(Pixel(image, 15, 11), bottom);
  };
  check(light, dark);
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  check(dark, light);
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  check(light, dark);
}

void TGradBtnTest::pressExchangesTheColoursAndReleaseUndoesIt() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  UseRedRamp(*b, TGradBtn::gsHorizontal);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QVERIFY(b->IsDown());
  QCOMPARE(b->BeginColor(), 0x0000FFu);
  QCOMPARE(b->EndColor(), 0x000000u);
  QImage image = Grab(*b);
  QCOMPARE(Pixel(image, 1, 20), QColor(252, 0, 0));  // band 3 of the reversed ramp
  QCOMPARE(Pixel(image, 98, 20), QColor(3, 0, 0));
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QVERIFY(!b->IsDown());
  QCOMPARE(b->BeginColor(), 0x000000u);
  QCOMPARE(b->EndColor(), 0x0000FFu);
  image = Grab(*b);
  QCOMPARE(Pixel(image, 1, 20), QColor(3, 0, 0));
}

void TGradBtnTest::withoutSwapTheGradientKeepsItsDirection() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  UseRedRamp(*b, TGradBtn::gsHorizontal);
  b->setSwapColors(false);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(b->BeginColor(), 0x000000u);
  const QImage image = Grab(*b);
  QCOMPARE(Pixel(image, 1, 20), QColor(3, 0, 0));
  QCOMPARE(Pixel(image, 0, 0), Rgb(0x00FF00));  // but the frame is reversed
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(b->BeginColor(), 0x000000u);
}

void TGradBtnTest::swapColorsChangedWhileHeldLeavesTheColoursExchanged() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  b->setSwapColors(false);
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(b->BeginColor(), 0xFFFF00u);
  QCOMPARE(b->EndColor(), 0x800000u);
  // And the other way round: switched on while held, the release exchanges them back.
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  b->setSwapColors(true);
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(b->BeginColor(), 0x800000u);
  QCOMPARE(b->EndColor(), 0xFFFF00u);
}

void TGradBtnTest::clickComesBeforeTheReleaseWhileStillDown() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QStringList log;
  connect(b, &TGradBtn::mouseDown,
          [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) { log << QStringLiteral("down"); });
  connect(b, &TGradBtn::mouseUp, [&](Qt::MouseButton, Qt::KeyboardModifiers, QPoint) {
    log << QStringLiteral("up %1").arg(b->BeginColor(), 0, 16);
  });
  connect(b, &TGradBtn::clicked, [&] {
    log << QStringLiteral("click %1 %2").arg(b->IsDown()).arg(b->BeginColor(), 0, 16);
  });
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(log, (QStringList{"down", "click 1 ffff00", "up ffff00"}));
  QCOMPARE(b->BeginColor(), 0x800000u);
  log.clear();
  // Released off the button: no click.
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(200, 5));
  QCOMPARE(log, (QStringList{"down", "up ffff00"}));
  QVERIFY(!b->IsDown());
}

void TGradBtnTest::otherButtonsShowTheDownStateButDoNotClick_data() {
  QTest::addColumn<Qt::MouseButton>("button");
  QTest::addColumn<QPoint>("releaseAt");
  QTest::newRow("right") << Qt::RightButton << QPoint(5, 5);
  QTest::newRow("middle") << Qt::MiddleButton << QPoint(5, 5);
  QTest::newRow("right released off the button") << Qt::RightButton << QPoint(300, 5);
}

void TGradBtnTest::otherButtonsShowTheDownStateButDoNotClick() {
  QFETCH(Qt::MouseButton, button);
  QFETCH(QPoint, releaseAt);
  QWidget window;
  auto* b = new TGradBtn(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QSignalSpy clicks(b, &TGradBtn::clicked);
  QTest::mousePress(b, button, Qt::NoModifier, QPoint(5, 5));
  QVERIFY(b->IsDown());
  QCOMPARE(b->BeginColor(), 0xFFFF00u);
  QTest::mouseRelease(b, button, Qt::NoModifier, releaseAt);
  QVERIFY(!b->IsDown());
  QCOMPARE(b->BeginColor(), 0x800000u);
  QCOMPARE(clicks.size(), 0);
}

void TGradBtnTest::doubleClickClicksOnceAndRestoresTheColours() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QSignalSpy clicks(b, &TGradBtn::clicked);
  QSignalSpy downs(b, &TGradBtn::mouseDown);
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::mouseDClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QVERIFY(b->IsDown());
  QCOMPARE(b->BeginColor(), 0xFFFF00u);
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(clicks.size(), 1);
  QCOMPARE(downs.size(), 2);
  QCOMPARE(b->BeginColor(), 0x800000u);
  QCOMPARE(b->EndColor(), 0xFFFF00u);
}

void TGradBtnTest::disabledButtonIgnoresTheMouse() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  b->setEnabled(false);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QSignalSpy clicks(b, &TGradBtn::clicked);
  TGradBtn enabled;
  enabled.setTextStyle(TGradBtn::tsRaised);
  b->setTextStyle(TGradBtn::tsRaised);
  QCOMPARE(Grab(*b), Grab(enabled));  // disabling leaves the look unchanged
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QVERIFY(!b->IsDown());
  QCOMPARE(b->BeginColor(), 0x800000u);
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(clicks.size(), 0);
  QCOMPARE(b->BeginColor(), 0x800000u);
}

void TGradBtnTest::textStylesDrawTheirCopies_data() {
  QTest::addColumn<int>("style");
  QTest::addColumn<int>("shade");
  QTest::addColumn<QPoint>("hiliteShift");  // of the highlight copy's top-left or bottom-right
  QTest::addColumn<bool>("hasHilite");
  QTest::addColumn<bool>("hasShadow");
  QTest::newRow("normal") << int(TGradBtn::tsNormal) << int(TGradBtn::stHeavy) << QPoint() << false
                          << false;
  QTest::newRow("raised light") << int(TGradBtn::tsRaised) << int(TGradBtn::stLight)
                                << QPoint(-1, -1) << true << false;
  QTest::newRow("raised heavy") << int(TGradBtn::tsRaised) << int(TGradBtn::stHeavy)
                                << QPoint(-1, -1) << true << true;
  QTest::newRow("inset light") << int(TGradBtn::tsInset) << int(TGradBtn::stLight) << QPoint(1, 1)
                               << true << false;
  QTest::newRow("inset heavy") << int(TGradBtn::tsInset) << int(TGradBtn::stHeavy) << QPoint(1, 1)
                               << true << true;
}

void TGradBtnTest::textStylesDrawTheirCopies() {
  QFETCH(int, style);
  QFETCH(int, shade);
  QFETCH(QPoint, hiliteShift);
  QFETCH(bool, hasHilite);
  QFETCH(bool, hasShadow);
  TGradBtn plain;
  UseTextColours(plain);
  const QRect text = ColourBox(Grab(plain), Rgb(0x00FF00));
  QVERIFY(!text.isEmpty());

  TGradBtn b;
  UseTextColours(b);
  b.setTextStyle(TGradBtn::TTextStyle(style));
  b.setTextShadeType(TGradBtn::TShadeType(shade));
  const QImage image = Grab(b);
  QCOMPARE(ColourBox(image, Rgb(0x00FF00)), text);  // the caption itself does not move
  const QRect hilite = ColourBox(image, Rgb(0xFFFFFF));
  const QRect shadow = ColourBox(image, Rgb(0xFF0000));
  QCOMPARE(!hilite.isEmpty(), hasHilite);
  QCOMPARE(!shadow.isEmpty(), hasShadow);
  // The copy drawn first shows where the caption does not cover it: at its outer edge.
  if (hasHilite && hiliteShift.x() < 0) QCOMPARE(hilite.topLeft(), text.topLeft() + hiliteShift);
  if (hasHilite && hiliteShift.x() > 0)
    QCOMPARE(hilite.bottomRight(), text.bottomRight() + hiliteShift);
  if (hasShadow && hiliteShift.x() < 0)
    QCOMPARE(shadow.bottomRight(), text.bottomRight() + QPoint(1, 1));
  if (hasShadow && hiliteShift.x() > 0) QCOMPARE(shadow.topLeft(), text.topLeft() - QPoint(1, 1));
}

void TGradBtnTest::captionMovesOnePixelWhenDown() {
  QWidget window;
  auto* b = new TGradBtn(&window);
  UseTextColours(*b);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  const QRect up = ColourBox(Grab(*b), Rgb(0x00FF00));
  QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(ColourBox(Grab(*b), Rgb(0x00FF00)), up.translated(1, 1));
  QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QCOMPARE(ColourBox(Grab(*b), Rgb(0x00FF00)), up);
}

void TGradBtnTest::captionWiderThanTheButtonIsAnchoredLeftOfIt() {
  // The same caption in a button wide enough for it and in one 31 pixels wide: the narrow one
  // shows the middle of the wide one's picture, its anchor (31 - text width) div 2 truncated
  // toward zero.
  TGradBtn wide, narrow;
  UseTextColours(wide);
  UseTextColours(narrow);
  wide.setCaption(QStringLiteral("Abrir - Cerrar"));
  narrow.setCaption(QStringLiteral("Abrir - Cerrar"));
  wide.resize(231, 30);
  narrow.resize(31, 30);
  const int text_width = QFontMetrics(narrow.font()).horizontalAdvance(narrow.Caption());
  QVERIFY(text_width > 31);
  const int anchor = (31 - text_width) / 2;
  QVERIFY(anchor < 0);
  const int shift = (231 - text_width) / 2 - anchor;
  const QImage w = Grab(wide), n = Grab(narrow);
  for (int y = 1; y < 29; ++y)
    for (int x = 0; x < 31; ++x) QCOMPARE(Pixel(n, x, y), Pixel(w, x + shift, y));
  // Cut off at both sides: the caption, drawn over the frame, reaches both edges.
  const QRect ink = ColourBox(n, Rgb(0x00FF00));
  QCOMPARE(ink.left(), 0);
  QCOMPARE(ink.right(), 30);
}

QTEST_MAIN(TGradBtnTest)
#include "TGradBtnTest.moc"
