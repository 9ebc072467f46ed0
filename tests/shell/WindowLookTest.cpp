// SPDX-License-Identifier: GPL-3.0-or-later
// How both windows look (offscreen platform): values wider than their field, the frames of the
// layout, the same colours under a dark desktop theme, the gradient buttons at the device's
// resolution and the toolkit's own texts in Spanish. CTest runs it at 96 dpi, at 120 dpi and at
// twice the size (QT_SCALE_FACTOR=2).

#include <QApplication>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>
#include <memory>

#include "FlatPictureButton.h"
#include "ReadoutLabel.h"
#include "TFormCalculadora.h"
#include "TFormConfigMoneda.h"
#include "TGradBtn.h"
#include "THighButton.h"
#include "TextFit.h"
#include "ToolkitTranslations.h"
#include "WindowFixture.h"

namespace {

const QString kEllipsis(QChar(0x2026));

const char kSettings[] =
    "[MONEDAS]\nMoneda0=Pts\nDecimales0=9\n"
    "Moneda1=WWW\nDecimales1=9\nCambio1=1\n"
    "Moneda2=MMM\nDecimales2=2\nCambio2=0,001\n"
    "Moneda3=Pesetas\nDecimales3=2\nCambio3=166,386\n";

// The pixels of `image` (a grab of `widget`) inside `rect` (the widget's coordinates) that differ
// from `background`.
int InkIn(const QImage& image, const QRect& rect, QRgb background) {
  const qreal ratio = image.devicePixelRatio();
  const QRect device =
      QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toAlignedRect();
  int ink = 0;
  for (int y = device.top(); y <= device.bottom(); ++y) {
    for (int x = device.left(); x <= device.right(); ++x) {
      if (image.pixel(x, y) != background) ++ink;
    }
  }
  return ink;
}

QPalette DarkPalette() {
  QPalette dark;
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    dark.setColor(group, QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(group, QPalette::WindowText, Qt::white);
    dark.setColor(group, QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(group, QPalette::AlternateBase, QColor(0x42, 0x42, 0x42));
    dark.setColor(group, QPalette::Text, Qt::white);
    dark.setColor(group, QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(group, QPalette::ButtonText, Qt::white);
    dark.setColor(group, QPalette::Light, QColor(0x50, 0x50, 0x50));
    dark.setColor(group, QPalette::Midlight, QColor(0x40, 0x40, 0x40));
    dark.setColor(group, QPalette::Dark, QColor(0x20, 0x20, 0x20));
    dark.setColor(group, QPalette::Mid, QColor(0x28, 0x28, 0x28));
    dark.setColor(group, QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    dark.setColor(group, QPalette::Highlight, QColor(0x2A, 0x82, 0xDA));
    dark.setColor(group, QPalette::HighlightedText, Qt::black);
  }
  return dark;
}

using window_test::Control;

}  // namespace

class WindowLookTest : public QObject {
  Q_OBJECT

 private:
  window_test::WindowFixture window_;
  dravello::TTablaMonedas tabla_{};

  std::string SettingsFile() const {
    window_.WriteSettings(kSettings);
    return window_.SettingsFile();
  }
  std::unique_ptr<TFormCalculadora> NewWindow() const {
    SettingsFile();
    return window_.NewWindow();
  }
 private slots:
  // Every field shows its whole text by shrinking its font; only amounts and rates, and only
  // below the legible floor, give up the end of their decimals. Checked in what is painted:
  // nothing is drawn at the edge where a text too wide for its field is cut off.
  void wideValuesShowWhole_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cut");  // 0 whole, 1 decimals cut, -1 either
    const QString largest = QStringLiteral("922.337.203.685.477,5807");
    const QString ninety_nine = QStringLiteral("-922.337.203.685.477,5807") + QString(95, '0');
    QTest::newRow("display, 9 decimals") << "Panel1"
                                         << "12.345.678.901.234,000000000" << 0;
    QTest::newRow("display, 99 decimals") << "Panel1" << ninety_nine << 1;
    QTest::newRow("memory A, largest") << "PanelMemA"
                                       << "M(a)-> " + largest << -1;
    QTest::newRow("memory C, negative") << "PanelMemC"
                                        << "M(c)-> -922.337.203.685.477,580700000" << -1;
    QTest::newRow("equivalence") << "StaticTextM1"
                                 << "100.000.000.000,000000000" << 0;
    QTest::newRow("equivalence, largest") << "StaticTextM6"
                                          << "-" + largest + "00000" << -1;
    QTest::newRow("rate, scientific") << "PanelEqui"
                                      << "1,23456789012346E15" << 0;
    QTest::newRow("rate, fixed") << "PanelEqui"
                                 << "0,000123456789012345" << -1;
    QTest::newRow("decimals") << "PanelDeci"
                              << "99" << 0;
    QTest::newRow("accumulator mark") << "Panel5"
                                      << "M+" << 0;
    QTest::newRow("key mark") << "Panel7"
                              << "<-A" << 0;
    QTest::newRow("abbreviation cell") << "StaticTextMT1"
                                       << "WWWWW" << 0;
    QTest::newRow("current currency") << "PanelMoneda"
                                      << "WWWWW" << 0;
    QTest::newRow("rate heading") << "StaticText2"
                                  << "Cambio en WWWWW" << 0;
    QTest::newRow("list heading") << "Label1"
                                  << "Operaciones Realizadas" << 0;
    QTest::newRow("equivalences heading") << "Label2"
                                          << "Equivalencias otras Monedas" << 0;
  }
  void wideValuesShowWhole() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, cut);
    const auto form = NewWindow();
    auto* label = Control<ReadoutLabel>(form.get(), field.toLatin1().constData());
    label->SetCaption(text);
    QCOMPARE(label->text(), text);  // what screen readers read

    const dravello::FittedText shown = label->Shown();
    QVERIFY(shown.pixel_size >= 1 && shown.pixel_size <= label->LayoutPixelSize());
    QFont font = label->font();
    font.setPixelSize(shown.pixel_size);
    QVERIFY2(QFontMetricsF(font).horizontalAdvance(shown.shown) <= label->TextRoom(),
             qPrintable(shown.shown));
    const bool whole = shown.shown == text;
    const bool decimals_cut = shown.shown.endsWith(kEllipsis) &&
                              text.startsWith(shown.shown.chopped(1)) &&
                              shown.shown.size() - 1 >= dravello::CuttableDecimals(text, ',');
    if (cut == 0) QVERIFY2(whole, qPrintable(shown.shown));
    if (cut == 1) QVERIFY2(decimals_cut, qPrintable(shown.shown));
    if (cut < 0) QVERIFY2(whole || decimals_cut, qPrintable(shown.shown));

    // Nothing painted in the outermost columns inside the frame on the side(s) where a text
    // too wide would be cut off.
    const QImage image = label->grab().toImage();
    const QRgb background = label->palette().color(QPalette::Window).rgb();
    const QRect inside = label->contentsRect();
    const Qt::Alignment align = label->alignment();
    if (!(align & Qt::AlignLeft)) {
      QCOMPARE(InkIn(image, QRect(inside.left(), inside.top(), 1, inside.height()), background), 0);
    }
    if (!(align & Qt::AlignRight)) {
      QCOMPARE(InkIn(image, QRect(inside.right(), inside.top(), 1, inside.height()), background),
               0);
    }

    // A reduced text is whole in the tooltip.
    QToolTip::hideText();
    const QPoint centre = label->rect().center();
    QHelpEvent help(QEvent::ToolTip, centre, label->mapToGlobal(centre));
    QApplication::sendEvent(label, &help);
    const bool reduced = !whole || shown.pixel_size < label->LayoutPixelSize();
    const QString own_hint = label->toolTip();  // a field with a hint of its own keeps it
    QCOMPARE(QToolTip::text(), !own_hint.isEmpty() ? own_hint : reduced ? text : QString());
    QToolTip::hideText();
  }

  // The currency buttons' captions (abbreviations of up to five characters) are never cut.
  void currencyCaptionsShowWhole() {
    const auto form = NewWindow();
    const struct {
      const char* button;
      const char* caption;
    } cases[] = {{"SpeedButton0", "Pts"},
                 {"SpeedButton1", "WWW"},
                 {"SpeedButton2", "MMM"},
                 {"SpeedButton3", "Peset"}};
    for (const auto& c : cases) {
      auto* button = Control<FlatPictureButton>(form.get(), c.button);
      const dravello::FittedText shown = button->ShownCaption();
      QCOMPARE(shown.shown, QString::fromLatin1(c.caption));
      QVERIFY(shown.pixel_size <= button->font().pixelSize());
      QFont font = button->font();
      font.setPixelSize(shown.pixel_size);
      QVERIFY(QFontMetricsF(font).horizontalAdvance(shown.shown) <= button->CaptionRoom());
    }
  }

  // The display band's panels: a single flat black border around a lowered bevel (grey above
  // and left, white below and right); the operations list: one flat black line.
  void framesFollowTheLayout() {
    const auto form = NewWindow();
    const QImage image = form->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const auto pixel = [&](QPoint p) {
      return QColor(image.pixel((QPointF(p) * ratio).toPoint()));
    };
    const QColor black(Qt::black), grey(0x80, 0x80, 0x80), white(Qt::white);
    for (const char* name :
         {"Panel1", "PanelMemA", "PanelMemB", "PanelMemC", "Panel5", "Panel6", "Panel7"}) {
      auto* panel = Control<QWidget>(form.get(), name);
      const QRect r(panel->mapTo(form.get(), QPoint(0, 0)), panel->size());
      const int y = r.center().y(), x = r.center().x();
      // The panels above overlap the ones below by a pixel or two: their tops show whole.
      const struct {
        QPoint at;
        QColor colour;
      } expected[] = {{{r.left(), y}, black},      {{r.right(), y}, black},
                      {{x, r.top()}, black},       {{r.left() + 1, y}, grey},
                      {{r.right() - 1, y}, white}, {{x, r.top() + 1}, grey}};
      for (const auto& e : expected) {
        QVERIFY2(pixel(e.at) == e.colour, qPrintable(QStringLiteral("%1 at %2,%3: %4")
                                                         .arg(QLatin1String(name))
                                                         .arg(e.at.x() - r.left())
                                                         .arg(e.at.y() - r.top())
                                                         .arg(pixel(e.at).name())));
      }
    }
    auto* list = Control<QWidget>(form.get(), "ListBox1");
    const QRect r(list->mapTo(form.get(), QPoint(0, 0)), list->size());
    const QColor inside(0xC0, 0x88, 0x12);
    for (const QPoint& edge :
         {QPoint(r.left(), r.center().y()), QPoint(r.right(), r.center().y()),
          QPoint(r.center().x(), r.top()), QPoint(r.center().x(), r.bottom())}) {
      QCOMPARE(pixel(edge), black);
    }
    QCOMPARE(pixel({r.left() + 1, r.center().y()}), inside);
    QCOMPARE(pixel({r.right() - 1, r.center().y()}), inside);
  }

  // Both windows take every colour from their layouts: under a dark desktop palette they are
  // painted exactly as under the light one, in the classic system colours.
  void aDarkThemeChangesNothing() {
    const QPalette light = QApplication::palette();
    const auto grab_both = [this] {
      const auto form = NewWindow();
      TFormConfigMoneda dialog(SettingsFile(), ',', tabla_, nullptr);
      return std::make_pair(form->grab().toImage(), dialog.grab().toImage());
    };
    const auto [form_light, dialog_light] = grab_both();
    QApplication::setPalette(DarkPalette());
    const auto [form_dark, dialog_dark] = grab_both();
    QApplication::setPalette(light);
    QCOMPARE(form_dark.size(), form_light.size());
    QCOMPARE(dialog_dark.size(), dialog_light.size());
    QVERIFY(form_dark == form_light);
    QVERIFY(dialog_dark == dialog_light);

    // The classic values themselves: the dialog's grey face, dark text on its yellow heading,
    // the black single border of the keypad's buttons.
    QApplication::setPalette(DarkPalette());
    TFormConfigMoneda dialog(SettingsFile(), ',', tabla_, nullptr);
    const QImage d = dialog.grab().toImage();
    const qreal ratio = d.devicePixelRatio();
    QCOMPARE(QColor(d.pixel(QPoint(2, 2) * ratio)), QColor(0xC0, 0xC0, 0xC0));
    auto* heading = Control<QWidget>(&dialog, "StaticText1");
    const QImage h = heading->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < h.height(); ++y) {
      for (int x = 0; x < h.width(); ++x) darkest = std::min(darkest, qGray(h.pixel(x, y)));
    }
    QVERIFY2(darkest < 64, "the heading's text is dark");
    const auto form = NewWindow();
    const QImage key = Control<THighButton>(form.get(), "HighButton1")->grab().toImage();
    QCOMPARE(QColor(key.pixel(0, key.height() / 2)), QColor(Qt::black));
    QApplication::setPalette(light);
  }

  // The dialog's buttons show its own pictures, not the style's (which follow the desktop's icon
  // theme), and its one-line headings are whole at any dots per inch.
  void theDialogsPicturesAndHeadingsAreItsOwn() {
    TFormConfigMoneda dialog(SettingsFile(), ',', tabla_, nullptr);
    for (const auto& [button, picture] :
         {std::pair{"BitBtn1", "accept"}, {"BitBtn2", "cancel"}, {"BitBtnActualizar", "update"}}) {
      const QImage shown =
          Control<QPushButton>(&dialog, button)->icon().pixmap({16, 16}, 1.0).toImage();
      const QImage own(QStringLiteral(":/dialog/%1.png").arg(QLatin1String(picture)));
      QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
               own.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
      if (label->wordWrap() || label->text().isEmpty()) continue;
      const qreal room = label->contentsRect().width() - 2 * label->margin();
      QVERIFY2(QFontMetricsF(label->font()).horizontalAdvance(label->text()) <= room,
               qPrintable(label->text()));
    }
  }

  // At a device-pixel ratio of 2 the "Abrir - Cerrar" buttons are painted at the device's
  // resolution: their picture is not made of 2 x 2 blocks of one colour.
  void gradientButtonsAtTheDevicesResolution() {
    const auto form = NewWindow();
    auto* button = Control<TGradBtn>(form.get(), "GradBtn2");
    const QImage image = button->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    if (ratio < 2) QSKIP("a device-pixel ratio of 2 is needed (QT_SCALE_FACTOR=2)");
    QCOMPARE(image.size(), (QSizeF(button->size()) * ratio).toSize());
    bool finer = false;
    for (int y = 0; y + 1 < image.height() && !finer; y += 2) {
      for (int x = 0; x + 1 < image.width() && !finer; x += 2) {
        const QRgb p = image.pixel(x, y);
        finer = image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p;
      }
    }
    QVERIFY(finer);
  }

  // The toolkit's own texts: the print dialog's and the message boxes' buttons.
  void toolkitTextsInSpanish() {
    QVERIFY(dravello::LoadToolkitTranslations(*qApp));
    QCOMPARE(QCoreApplication::translate("QPrintDialog", "Print"), QStringLiteral("Imprimir"));
    QCOMPARE(QCoreApplication::translate("QPrintDialog", "&Options >>"),
             QStringLiteral("&Opciones >>"));
    QMessageBox box(QMessageBox::Critical, QStringLiteral("t"), QStringLiteral("x"),
                    QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("Aceptar"));
  }
};

int main(int argc, char** argv) {
  // As the program's entry does: whole device-pixel ratios, so 120 dpi lays out unscaled.
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Floor);
  QApplication app(argc, argv);
  WindowLookTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "WindowLookTest.moc"
