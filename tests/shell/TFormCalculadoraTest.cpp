// The main window driven by real key and mouse events (offscreen platform, 96 dpi).

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <fstream>
#include <memory>

#include "Cp1252.h"
#include "IndicatorShape.h"
#include "KeyTable.h"
#include "ReadoutLabel.h"
#include "ShellAccessibility.h"
#include "TFormCalculadora.h"
#include "TGradBtn.h"
#include "THighButton.h"

namespace {

QString Utf8(std::string_view cp1252) {
  return QString::fromStdString(dravello::Cp1252ToUtf8(cp1252));
}

// Closes every message box as soon as it shows, keeping its title and text, so that a test
// fails instead of hanging on a modal box.
class BoxCloser : public QObject {
 public:
  BoxCloser() {
    timer_.setInterval(10);
    connect(&timer_, &QTimer::timeout, this, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        boxes << box->windowTitle() + QStringLiteral(" | ") + box->text();
        box->done(QMessageBox::Ok);
      }
    });
    timer_.start();
  }
  QStringList boxes;

 private:
  QTimer timer_;
};

// Records the order in which keypad buttons light up.
class LitRecorder : public QObject {
 public:
  explicit LitRecorder(QWidget* form) : buttons_(form->findChildren<THighButton*>()) {
    timer_.setInterval(2);
    connect(&timer_, &QTimer::timeout, this, [this] {
      for (THighButton* b : buttons_) {
        if (b->IsDown() && (lit.isEmpty() || lit.last() != b->objectName())) {
          lit << b->objectName();
        }
      }
    });
    timer_.start();
  }
  QStringList lit;

 private:
  QList<THighButton*> buttons_;
  QTimer timer_;
};

}  // namespace

class TFormCalculadoraTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<TFormCalculadora> form_;
  std::unique_ptr<BoxCloser> closer_;

  // A fresh window over a settings file holding `ini` (none when empty).
  void Start(const std::string& ini = {}) {
    form_.reset();
    dir_ = std::make_unique<QTemporaryDir>();
    const std::string path =
        dir_->filePath(QStringLiteral("CalculadoraDravello.INI")).toStdString();
    if (!ini.empty()) std::ofstream(path) << ini;
    closer_ = std::make_unique<BoxCloser>();
    form_ = std::make_unique<TFormCalculadora>(path, dravello::Separators{',', '.'});
    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    T* control = form_->findChild<T*>(QString::fromLatin1(name));
    if (control == nullptr) qFatal("no control %s", name);
    return control;
  }
  QString Shown(const char* name) const { return Control<ReadoutLabel>(name)->text(); }
  QString Display() const { return Shown("Panel1"); }
  QStringList Lines() const {
    QStringList lines;
    const QAbstractItemModel* model = Control<QAbstractItemView>("ListBox1")->model();
    for (int i = 0; i < model->rowCount(); ++i) lines << model->index(i, 0).data().toString();
    return lines;
  }
  QString Focus() const {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
  }

  // Types `keys` one by one into the focused control; "\r" is Return, "\b" Backspace.
  void Type(const QString& keys) {
    for (QChar c : keys) {
      const char ch = c.toLatin1();
      QTest::keyClick(static_cast<QWidget*>(nullptr), ch);
    }
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
           const QString& text = QString()) {
    QWidget* target = QApplication::focusWidget();
    QTest::sendKeyEvent(QTest::Press, target ? target : form_.get(), key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, target ? target : form_.get(), key, text, modifiers);
  }
  // Every memory holds a value, so that every recall button is enabled.
  static void SetMemories(dravello::Calculadora& engine) {
    engine.Estado().MemoriaA = dravello::Currency::FromCount(50000);
    engine.Estado().MemoriaB = dravello::Currency::FromCount(60000);
    engine.Estado().MemoriaC = dravello::Currency::FromCount(70000);
    engine.Estado().MemoriaAux = dravello::Currency::FromCount(30000);
  }
  void Click(const char* name) {
    QWidget* w = Control(name);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
  }

 private slots:
  void init() { Start(); }
  void cleanup() {
    form_.reset();
    closer_.reset();
  }

  void startsCentredOnNothingWithTheFocusOnSeven() {
    QCOMPARE(form_->size(), QSize(537, 400));  // 671 x 500 design units at 96 dpi
    QCOMPARE(form_->windowTitle(), QStringLiteral("Calculadora Dravello"));
    QCOMPARE(Display(), QStringLiteral("0,00"));
    QCOMPARE(Shown("PanelMemA"), QStringLiteral("M(a)-> 0,00"));
    QCOMPARE(Shown("PanelMoneda"), QStringLiteral("Pts"));
    QCOMPARE(Shown("StaticTextM1"), QString());
    QVERIFY(Lines().isEmpty());
    QVERIFY(!Control("HighButton26")->isEnabled());
    QVERIFY(!Control("HighButton28")->isEnabled());
    QCOMPARE(Focus(), QStringLiteral("HighButton1"));
    QVERIFY(form_->OperacionesAbiertas());
    QVERIFY(form_->Currencies().CambiosAbiertos());
    // The background, decoded at its first paint: the 520 x 300 picture, stretched.
    QTRY_COMPARE(Control<QLabel>("Image1")->pixmap().size(), QSize(520, 300));
    QVERIFY(Control<QLabel>("Image1")->hasScaledContents());
  }

  void overviewExample() {
    Type(QStringLiteral("1+2\r"));
    QCOMPARE(Lines(), QStringList{QStringLiteral("1,00 + 2,00 = 3,00")});
    QCOMPARE(Display(), QStringLiteral("3,00"));
    QCOMPARE(Shown("Panel6"), QStringLiteral("="));
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    QVERIFY(closer_->boxes.isEmpty());
  }

  void copyPutsTheExactValueOnTheClipboard() {
    Type(QStringLiteral("123456789012,34+0,0056\r"));
    Click("BitBtn1");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("123456789012,3456"));
    QCOMPARE(Lines().last(), QStringLiteral("Copiado a ClipBoard 123.456.789.012,35"));
    QCOMPARE(Display(), QStringLiteral("123.456.789.012,35"));
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    Type(QStringLiteral("7"));
    QCOMPARE(Display(), QStringLiteral("7,00"));
  }

  void pasteReadsTheClipboardText_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("box");
    const QString none;
    QTest::newRow("number") << QStringLiteral("1234,5") << QStringLiteral("1.234,50") << none;
    QTest::newRow("blanks and sign")
        << QStringLiteral(" -12,5 ") << QStringLiteral("-12,50") << none;
    QTest::newRow("exponent") << QStringLiteral("1E3") << QStringLiteral("1.000,00") << none;
    QTest::newRow("empty") << QString() << QStringLiteral("0,00") << none;
    QTest::newRow("words") << QStringLiteral("doce euros") << QStringLiteral("0,00") << none;
    QTest::newRow("grouped") << QStringLiteral("1.234,50") << QStringLiteral("0,00") << none;
    QTest::newRow("several lines") << QStringLiteral("12\n34") << QStringLiteral("12,00") << none;
    QTest::newRow("euro sign") << QStringLiteral("5 \u20ac") << QStringLiteral("0,00") << none;
    QTest::newRow("chinese") << QStringLiteral("\u4e94") << QStringLiteral("0,00") << none;
    QTest::newRow("too large") << QString(10000, QLatin1Char('7')) << QStringLiteral("3,00")
                               << QStringLiteral(
                                      "Calculadora Dravello | Invalid floating point operation.");
  }
  void pasteReadsTheClipboardText() {
    QFETCH(QString, clipboard);
    QFETCH(QString, display);
    QFETCH(QString, box);
    Type(QStringLiteral("3"));
    QGuiApplication::clipboard()->setText(clipboard);
    Click("BitBtn2");
    QCOMPARE(Display(), display);
    if (box.isEmpty()) {
      QVERIFY(closer_->boxes.isEmpty());
      QCOMPARE(Lines(), QStringList{QStringLiteral("Pegado Desde ClipBoard ") + display});
      QCOMPARE(Focus(), QStringLiteral("HighButton33"));
      Type(QStringLiteral("+1\r"));  // the pasted value is an operand
      QCOMPARE(Lines().last(),
               display + QStringLiteral(" + 1,00 = ") +
                   Utf8(form_->Engine().Formatea(form_->Engine().Estado().Numeros[1])));
    } else {
      QTRY_COMPARE(closer_->boxes, QStringList{box});
      QVERIFY(Lines().isEmpty());
    }
  }

  void returnBeforeTheFirstCommandTypesSeven() {
    Type(QStringLiteral("\r"));
    QCOMPARE(Display(), QStringLiteral("7,00"));
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    Type(QStringLiteral("+1\r"));  // from now on Return gives '='
    QCOMPARE(Lines().value(0), QStringLiteral("7,00 + 1,00 = 8,00"));
  }

  // Every highlight button of the key table is in the layout with its caption, and a click on
  // it does what the table says.
  void everyButtonOfTheKeyTableClicks() {
    for (const dravello::KeyButton& entry : dravello::KeyButtons()) {
      auto* button = Control<THighButton>(std::string(entry.name).c_str());
      QCOMPARE(button->Caption(), Utf8(entry.caption));
      if (entry.handler == dravello::ClickHandler::kWindow) continue;
      Start();
      SetMemories(form_->Engine());
      form_->Engine().ActualizaMemorias();
      Type(QStringLiteral("8"));
      QTest::mouseClick(Control(std::string(entry.name).c_str()), Qt::LeftButton);
      // The engine saw the table's command: run the same keys through a bare engine.
      struct NullView : dravello::CalculatorView {
        QStringList lines;
        void SetPanel1(const std::string&) override {}
        void SetPanel6(const std::string&) override {}
        void SetPanel7(const std::string&) override {}
        void SetMemoryPanel(int, const std::string&, dravello::Color) override {}
        void SetRecallButton(int, bool, dravello::Color) override {}
        void SetPanel5(const std::string&, dravello::Color, const std::string&) override {}
        void AppendListLine(const std::string& l) override { lines << Utf8(l); }
        void ShowMessage(dravello::MessageKind, const std::string&, const std::string&) override {}
        void SetPanelMoneda(const std::string&) override {}
        void SetStaticText2(const std::string&) override {}
        void SetPanelDeci(const std::string&) override {}
        void SetPanelEqui(const std::string&) override {}
        void SetCurrencyButton(int, const std::string&, bool) override {}
        void SetAmountCell(int, const std::string&) override {}
        void SetAbbreviationCell(int, const std::string&) override {}
      } view;
      dravello::Calculadora bare(view, {',', '.'});
      bare.Inicia();
      SetMemories(bare);
      bare.ProcesaTecla('8');
      bare.ProcesaTecla(entry.command);
      QCOMPARE(Lines(), view.lines);
      QCOMPARE(form_->Engine().Estado().Numeros[2], bare.Estado().Numeros[2]);
      QCOMPARE(form_->Engine().Estado().TextoEntrada, bare.Estado().TextoEntrada);
      QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    }
  }

  // Letters with the focus on a button: the accelerators; with the focus in the list: the
  // letter itself, upper-cased.
  void lettersByFocus_data() {
    QTest::addColumn<bool>("in_list");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("last_line");
    QTest::addColumn<QString>("display");
    QTest::newRow("m is Mem+") << false << "5m"
                               << "5,00 --> Memo+ [5,00]"
                               << "5,00";
    QTest::newRow("e is Mem-") << false << "5e"
                               << "5,00 --> Memo- [-5,00]"
                               << "5,00";
    QTest::newRow("t is reset") << false << "5t"
                                << "Resetear (Rst)"
                                << "0,00";
    QTest::newRow("l is clear") << false << "5l"
                                << "Borrar Datos (Clr)"
                                << "0,00";
    QTest::newRow("A is store") << false << "5A"
                                << "5,00 --> M(a)"
                                << "5,00";
    QTest::newRow("x is square") << false << "5x"
                                 << "Elev2(5,00) = 25,00"
                                 << "25,00";
    QTest::newRow("d with no memory") << false << "5d"
                                      << ""
                                      << "5,00";
    QTest::newRow("d after m") << false << "5m9d"
                               << "Memo[5,00] --> Disp"
                               << "5,00";
    QTest::newRow("u is Mem-") << false << "5u"
                               << "5,00 --> Memo- [-5,00]"
                               << "5,00";
    QTest::newRow("o recalls A") << false << "5a9o"
                                 << "M(a)[5,00] --> Disp"
                                 << "5,00";
    QTest::newRow("list: e is reset") << true << "5e"
                                      << "Resetear (Rst)"
                                      << "0,00";
    QTest::newRow("list: t is Mem+") << true << "5t"
                                     << "5,00 --> Memo+ [5,00]"
                                     << "5,00";
    QTest::newRow("list: m ignored") << true << "5m"
                                     << ""
                                     << "5,00";
  }
  void lettersByFocus() {
    QFETCH(bool, in_list);
    QFETCH(QString, keys);
    QFETCH(QString, last_line);
    QFETCH(QString, display);
    for (QChar c : keys) {
      if (in_list) Control("ListBox1")->setFocus();
      Type(QString(c));
    }
    QCOMPARE(Lines().isEmpty() ? QString() : Lines().last(), last_line);
    QCOMPARE(Display(), display);
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
  }

  void inTheListVTakesTheMemoryInsteadOfSwitching() {
    Type(QStringLiteral("4m"));
    Control("ListBox1")->setFocus();
    Type(QStringLiteral("v"));
    QCOMPARE(Lines().last(), QStringLiteral("Memo[4,00] --> Disp"));
    QCOMPARE(Control<IndicatorShape>("ShapeVisible")->BrushColor(), 0x008080u);
    Control("ListBox1")->setFocus();
    Type(QStringLiteral("z"));
    QVERIFY(!form_->isMinimized());
  }

  void returnInTheListGivesEqualsAndKeepsTheFocus() {
    Type(QStringLiteral("2*3"));
    Control("ListBox1")->setFocus();
    LitRecorder lit(form_.get());
    Type(QStringLiteral("\r"));
    QCOMPARE(Lines().last(), QStringLiteral("2,00 * 3,00 = 6,00"));
    QCOMPARE(Focus(), QStringLiteral("ListBox1"));
    QCOMPARE(lit.lit, QStringList{QStringLiteral("HighButton33")});
  }

  void altWithAnAcceleratorClicksAlsoInTheList() {
    Type(QStringLiteral("6"));
    Control("ListBox1")->setFocus();
    Key(Qt::Key_M, Qt::AltModifier, QStringLiteral("m"));
    QCOMPARE(Lines().last(), QStringLiteral("6,00 --> Memo+ [6,00]"));
    const int lines = Lines().size();
    Key(Qt::Key_7, Qt::AltModifier, QStringLiteral("7"));  // Alt with any other key: nothing
    QCOMPARE(Lines().size(), lines);
    QCOMPARE(Display(), QStringLiteral("6,00"));
  }

  void ctrlCAndCtrlVFlashWithoutCopying() {
    Type(QStringLiteral("5"));
    LitRecorder lit(form_.get());
    Key(Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    Key(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QCOMPARE(lit.lit,
             (QStringList{QStringLiteral("HighButton30"), QStringLiteral("HighButtonVisi")}));
    QVERIFY(Lines().isEmpty());
    QCOMPARE(form_->Engine().Estado().MemoriaC, dravello::Currency{});
    QCOMPARE(Control<IndicatorShape>("ShapeVisible")->BrushColor(), 0x008080u);
    QVERIFY(!(form_->windowFlags() & Qt::WindowStaysOnTopHint));
  }

  void deleteFlashesDelAndBackspaceDoesNot() {
    Type(QStringLiteral("123"));
    LitRecorder lit(form_.get());
    Key(Qt::Key_Delete);
    QCOMPARE(Display(), QStringLiteral("12,00"));
    QCOMPARE(lit.lit, QStringList{QStringLiteral("HighButton42")});
    Type(QStringLiteral("\b"));
    QCOMPARE(Display(), QStringLiteral("1,00"));
    QCOMPARE(lit.lit, QStringList{QStringLiteral("HighButton42")});
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
  }

  void aFailingCommandLeavesTheFocusWhereItWas() {
    Type(QStringLiteral("4s"));
    Control("ListBox1")->setFocus();
    Type(QStringLiteral("r"));  // the root of -4
    QCOMPARE(
        closer_->boxes,
        QStringList{QStringLiteral("Calculadora Dravello | Invalid floating point operation.")});
    QTRY_COMPARE(Focus(), QStringLiteral("ListBox1"));  // back when the box has gone
    QCOMPARE(Display(), QStringLiteral("-4,00"));
  }

  void divisionByZeroWarns() {
    Type(QStringLiteral("7/0\r"));
    QCOMPARE(closer_->boxes,
             QStringList{QStringLiteral("Warning |  No se puede Dividir por Cero ")});
    QCOMPARE(Lines().last(), QStringLiteral("7,00 / 0,00 = Desbordado"));
  }

  void fastTypingIsCarriedOutInOrderWithEveryFlash() {
    LitRecorder lit(form_.get());
    QWidget* target = QApplication::focusWidget();
    const QString keys = QStringLiteral("12+3=");
    for (QChar c : keys) {
      const int key = c == QLatin1Char('+')   ? Qt::Key_Plus
                      : c == QLatin1Char('=') ? Qt::Key_Equal
                                              : Qt::Key_0 + (c.unicode() - '0');
      QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, c));
    }
    // All five arrive while the first key's flash runs.
    QTRY_COMPARE(Lines(), QStringList{QStringLiteral("12,00 + 3,00 = 15,00")});
    QCOMPARE(Display(), QStringLiteral("15,00"));
    QCOMPARE(lit.lit, (QStringList{"HighButton7", "HighButton8", "HighButton12", "HighButton9",
                                   "HighButton33"}));
  }

  void mouseClicksDuringAFlashWaitTheirTurn() {
    QTimer::singleShot(20, this, [this] { Click("HighButton9"); });  // during the flash of 2
    Type(QStringLiteral("2"));
    QTRY_COMPARE(Display(), QStringLiteral("23,00"));
  }

  void collapseHeights() {
    QCOMPARE(form_->height(), 400);
    Click("GradBtn1");  // equivalences closed
    QCOMPARE(form_->height(), 322);
    Click("GradBtn2");  // operations closed
    QCOMPARE(form_->height(), 199);
    Click("GradBtn2");  // operations open, the equivalences stay closed
    QCOMPARE(form_->height(), 322);
    Click("GradBtn1");
    QCOMPARE(form_->height(), 400);
    Click("GradBtn2");
    QCOMPARE(form_->height(), 199);
    QVERIFY(form_->Currencies().CambiosAbiertos());  // reopens with the section
    Click("GradBtn2");
    QCOMPARE(form_->height(), 400);
    QCOMPARE(Control("Image1")->height(), 398);  // the background follows the client area
  }

  void vSwitchesAlwaysOnTopAndZMinimises() {
    Type(QStringLiteral("v"));
    QCOMPARE(Control<IndicatorShape>("ShapeVisible")->BrushColor(), 0x00FF00u);
    QVERIFY(form_->windowFlags() & Qt::WindowStaysOnTopHint);
    Click("HighButtonVisi");
    QCOMPARE(Control<IndicatorShape>("ShapeVisible")->BrushColor(), 0x008080u);
    QVERIFY(!(form_->windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(form_->isVisible());
    Type(QStringLiteral("5z"));
    QTRY_VERIFY(form_->isMinimized());
    QCOMPARE(Display(), QStringLiteral("5,00"));
  }

  void closeEndsAtOnce() {
    QPointer<QWidget> form = form_.get();
    Click("BitBtnCerrar");
    QVERIFY(!form_->isVisible());
  }

  void currencySwitchAndEquivalences() {
    Start("[MONEDAS]\nMoneda0=Pts\nDecimales0=0\nMoneda1=Eur\nDecimales1=2\nCambio1=166,386\n");
    QCOMPARE(Control<QToolButton>("SpeedButton1")->text(), QStringLiteral("Eur"));
    QVERIFY(Control("SpeedButton1")->isEnabled());
    QVERIFY(!Control("SpeedButton2")->isEnabled());
    QCOMPARE(Shown("StaticTextM1"), QString());  // empty until the display first changes
    Type(QStringLiteral("1000"));
    QCOMPARE(Shown("StaticTextM1"), QStringLiteral("6,01"));
    QCOMPARE(Shown("StaticTextMT1"), QStringLiteral("Eur"));
    Click("SpeedButton1");
    QCOMPARE(Lines(), (QStringList{"(1.000 Pts)", "---> Cambio a Moneda (Eur)", "(6,01 Eur)"}));
    QCOMPARE(Shown("PanelMoneda"), QStringLiteral("Eur"));
    QCOMPARE(Display(), QStringLiteral("6,01"));
    QCOMPARE(Control("SpeedButton1")->accessibleName(), QStringLiteral("Eur (moneda 1)"));
    // Closed, the panel is not kept up to date; opened, it is refreshed at once.
    Click("GradBtn1");
    Type(QStringLiteral("2"));
    QCOMPARE(Shown("StaticTextM1"), QStringLiteral("1.000"));
    Click("GradBtn1");
    QCOMPARE(Shown("StaticTextM1"), QStringLiteral("333"));
  }

  void tabAndArrowsMoveTheFocus() {
    Key(Qt::Key_Tab);
    QCOMPARE(Focus(), QStringLiteral("HighButton2"));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(Focus(), QStringLiteral("HighButton1"));
    Key(Qt::Key_Right);
    QCOMPARE(Focus(), QStringLiteral("HighButton2"));
    Key(Qt::Key_Left);
    QCOMPARE(Focus(), QStringLiteral("HighButton1"));
    QVERIFY(Lines().isEmpty());
    QCOMPARE(Display(), QStringLiteral("0,00"));
  }

  // What a screen reader gets: a unique name for every control, the control's name as its
  // description, the texts as shown, the list row by row.
  void assistiveToolsSeeEveryControl() {
    Type(QStringLiteral("1+2\r"));
    QSet<QString> names;
    const QList<QWidget*> widgets = form_->findChildren<QWidget*>();
    int described = 0;
    for (QWidget* w : widgets) {
      if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_"))) continue;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      QVERIFY2(a != nullptr, qPrintable(w->objectName()));
      const QString name = a->text(QAccessible::Name);
      QVERIFY2(!name.isEmpty(), qPrintable(w->objectName()));
      QVERIFY2(!names.contains(name), qPrintable(name));
      names.insert(name);
      QCOMPARE(a->text(QAccessible::Description), w->objectName());
      ++described;
    }
    QCOMPARE(described, 89);  // every control of the layout
    QAccessibleInterface* display = QAccessible::queryAccessibleInterface(Control("Panel1"));
    QCOMPARE(display->role(), QAccessible::StaticText);
    QCOMPARE(display->text(QAccessible::Name), QStringLiteral("Display"));
    QCOMPARE(display->textInterface()->text(0, -1), QStringLiteral("3,00"));
    QAccessibleInterface* seven = QAccessible::queryAccessibleInterface(Control("HighButton1"));
    QCOMPARE(seven->role(), QAccessible::Button);
    seven->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(Display(), QStringLiteral("7,00"));
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(Control("ListBox1"));
    QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Operaciones Realizadas"));
    QStringList rows;
    for (int i = 0; i < list->childCount(); ++i) {
      QAccessibleInterface* child = list->child(i);
      if (child->role() == QAccessible::ListItem) rows << child->text(QAccessible::Name);
    }
    QCOMPARE(rows, QStringList{QStringLiteral("1,00 + 2,00 = 3,00")});
    QAccessibleInterface* shape = QAccessible::queryAccessibleInterface(Control("ShapeVisible"));
    QCOMPARE(shape->textInterface()->text(0, -1), QStringLiteral("desactivado"));
  }

  void printingWithoutAPrinterSaysSoAndWritesNothing() {
    // No print server at all (main() points CUPS at a socket that is not there), and a home
    // folder of its own: the print dialog would write ~/print.pdf there without a word.
    QTemporaryDir home;
    const QByteArray saved_home = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    const bool pdf_here_before = QFile::exists(QStringLiteral("print.pdf"));
    Type(QStringLiteral("12+3\r"));
    Click("BitBtn3");
    QTRY_COMPARE(
        closer_->boxes,
        QStringList{QStringLiteral("Calculadora Dravello | No hay ninguna impresora instalada.")});
    qputenv("HOME", saved_home);
    QCOMPARE(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    QCOMPARE(QFile::exists(QStringLiteral("print.pdf")), pdf_here_before);
    QCOMPARE(Lines(), QStringList{QStringLiteral("12,00 + 3,00 = 15,00")});
  }
};

int main(int argc, char* argv[]) {
  // No test reaches a print server of the machine.
  qputenv("CUPS_SERVER", "/nonexistent-print-server-of-the-window-test/cups.sock");
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QAccessible::installFactory(ShellAccessibleFactory);
  TFormCalculadoraTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "TFormCalculadoraTest.moc"
