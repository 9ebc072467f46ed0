// SPDX-License-Identifier: GPL-3.0-or-later
// The main window driven by real key and mouse events (offscreen platform, 96 dpi).

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <fstream>
#include <memory>
#include <set>

#include "Cp1252.h"
#include "IndicatorShape.h"
#include "KeyTable.h"
#include "ReadoutLabel.h"
#include "ShellAccessibility.h"
#include "TFormCalculadora.h"
#include "TGradBtn.h"
#include "THighButton.h"
#include "TapeLines.h"
#include "TapeList.h"
#include "TapeModel.h"
#include "TapeOnDisk.h"
#include "TickCounter.h"
#include "WindowFixture.h"

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

// Flashes end at once: every reading of the tick counter is a second later than the last.
class InstantFlashes : public dravello::TickCounter {
 public:
  InstantFlashes() { Install(this); }
  ~InstantFlashes() override { Install(nullptr); }
  std::uint32_t Now() override { return now_ += 1000; }

 private:
  std::uint32_t now_ = 0;
};

const std::string kTwoCurrencies =
    "[MONEDAS]\nMoneda0=Pts\nDecimales0=2\nMoneda1=Eur\nDecimales1=2\nCambio1=166,386\n";

class TFormCalculadoraTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<window_test::WindowFixture> window_;
  TFormCalculadora* form_ = nullptr;
  std::unique_ptr<BoxCloser> closer_;

  // A fresh window over a settings file holding `ini` (none when empty).
  void Start(const std::string& ini = {}) {
    window_.reset();
    window_ = std::make_unique<window_test::WindowFixture>();
    if (!ini.empty()) window_->WriteSettings(ini);
    closer_ = std::make_unique<BoxCloser>();
    form_ = window_->Open();
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return window_->Control<T>(name);
  }
  QString Shown(const char* name) const { return window_->Shown(name); }
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
    QTest::sendKeyEvent(QTest::Press, target ? target : form_, key, text, modifiers);
    QTest::sendKeyEvent(QTest::Release, target ? target : form_, key, text, modifiers);
  }
  // Presses the key named in Qt's portable notation ("M", ",", "Return", "Del", "Backspace").
  void PressKey(const QString& name) {
    if (name == QLatin1String("Return")) return Key(Qt::Key_Return, {}, QStringLiteral("\r"));
    if (name == QLatin1String("Del")) return Key(Qt::Key_Delete);
    if (name == QLatin1String("Backspace")) return Key(Qt::Key_Backspace, {}, QStringLiteral("\b"));
    QVERIFY2(name.size() == 1, qPrintable(name));
    // Qt's codes of the printable ASCII keys are their (upper-case) characters.
    Key(static_cast<Qt::Key>(name.at(0).toUpper().unicode()), {}, name.toLower());
  }
  // Every memory holds a value, so that every recall button is enabled.
  static void SetMemories(dravello::Calculadora& engine) {
    engine.Estado().MemoriaA = dravello::Currency::FromCount(50000);
    engine.Estado().MemoriaB = dravello::Currency::FromCount(60000);
    engine.Estado().MemoriaC = dravello::Currency::FromCount(70000);
    engine.Estado().MemoriaAux = dravello::Currency::FromCount(30000);
  }
  void Click(const char* name) { window_->Click(name); }
  // Picks an entry of the list's menu, as the window offers it.
  void Choose(dravello::TapeAction action) {
    auto* list = Control<dravello::TapeList>("ListBox1");
    list->ShowMenu();
    QTRY_VERIFY(list->Menu()->isVisible());
    list->Action(action)->trigger();
    list->Menu()->hide();
  }

  // What the window shows: the display, the operator and key indicators, and the tape's last
  // line (empty when there is none).
  QStringList Shows() const {
    return {Display(), Shown("Panel6"), Shown("Panel7"),
            Lines().isEmpty() ? QString() : Lines().last()};
  }

 private slots:
  void init() { Start(); }
  void cleanup() {
    qunsetenv("DRAVELLO_ACCESSIBLE_IDS");
    window_.reset();
    form_ = nullptr;
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
    // The background, decoded at its first paint and stretched over the backdrop; again when
    // a section closed has shrunk it.
    QLabel* backdrop = Control<QLabel>("Image1");
    QTRY_COMPARE(backdrop->pixmap().size(), backdrop->contentsRect().size());
    QCOMPARE(backdrop->contentsRect().size(), QSize(535, 398));
    Key(Qt::Key_F9);
    QTRY_COMPARE(backdrop->pixmap().size(), QSize(535, 197));
  }

  void onePlusTwoReturnWritesTheLineAndShowsTheSum() {
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
    const QString refused = QStringLiteral("3,00");  // the display as it was
    QTest::newRow("number") << QStringLiteral("1234,5") << QStringLiteral("1.234,50") << none;
    QTest::newRow("blanks and sign")
        << QStringLiteral(" -12,5 ") << QStringLiteral("-12,50") << none;
    QTest::newRow("exponent") << QStringLiteral("1E3") << QStringLiteral("1.000,00") << none;
    QTest::newRow("grouped") << QStringLiteral("1.234,50") << QStringLiteral("1.234,50") << none;
    QTest::newRow("grouped by no-break spaces")
        << QStringLiteral("1\u00a0234\u00a0567,5") << QStringLiteral("1.234.567,50") << none;
    QTest::newRow("grouped by narrow no-break spaces")
        << QStringLiteral("\u22121\u202f234\u202f567,5") << QStringLiteral("-1.234.567,50") << none;
    QTest::newRow("several lines") << QStringLiteral("12\n34") << QStringLiteral("12,00") << none;
    QTest::newRow("empty") << QString() << refused << none;
    QTest::newRow("words") << QStringLiteral("doce euros") << refused << none;
    QTest::newRow("euro sign") << QStringLiteral("5 \u20ac") << refused << none;
    QTest::newRow("chinese") << QStringLiteral("\u4e94") << refused << none;
    QTest::newRow("too large") << QStringLiteral("1e20") << QStringLiteral("3,00")
                               << QStringLiteral(
                                      "Calculadora Dravello | Invalid floating point operation.");
    QTest::newRow("too long") << QString(1 << 20, QLatin1Char('7')) << refused << none;
  }
  void pasteReadsTheClipboardText() {
    QFETCH(QString, clipboard);
    QFETCH(QString, display);
    QFETCH(QString, box);
    Type(QStringLiteral("3"));
    QGuiApplication::clipboard()->setText(clipboard);
    Click("BitBtn2");
    QCOMPARE(Display(), display);
    if (!box.isEmpty()) {
      QTRY_COMPARE(closer_->boxes, QStringList{box});
      QVERIFY(Lines().isEmpty());
    } else if (Lines().isEmpty()) {
      // Refused: nothing changed, the number being typed goes on.
      QVERIFY(closer_->boxes.isEmpty());
      Type(QStringLiteral("4"));
      QCOMPARE(Display(), QStringLiteral("34,00"));
    } else {
      QVERIFY(closer_->boxes.isEmpty());
      QCOMPARE(Lines(), QStringList{QStringLiteral("Pegado Desde ClipBoard ") + display});
      QCOMPARE(Focus(), QStringLiteral("HighButton33"));
      Type(QStringLiteral("+1\r"));  // the pasted value is an operand
      QCOMPARE(Lines().last(), display + QStringLiteral(" + 1,00 = ") +
                                   Utf8(form_->Engine().Formatea(
                                       form_->Engine().Estado().Numeros[dravello::kAccumulator])));
    }
  }

  void returnBeforeTheFirstCommandTypesSeven() {
    Type(QStringLiteral("\r"));
    QCOMPARE(Display(), QStringLiteral("7,00"));
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    Type(QStringLiteral("+1\r"));  // from now on Return gives '='
    QCOMPARE(Lines().value(0), QStringLiteral("7,00 + 1,00 = 8,00"));
  }

  // Every button that the layout connects to a command handler, clicked after some keys: what
  // the window then shows, and the focus back on "Ejecutar".
  void everyKeypadButtonClickDoesItsCommand_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");      // before the click, memories a 5, b 6, c 7, M 3
    QTest::addColumn<QStringList>("shows");  // display, operator, key, last line
    const auto row = [](const char* button, const char* typed, const char* display, const char* op,
                        const char* key, const char* line) {
      QTest::newRow(button) << QString::fromLatin1(button) << QString::fromLatin1(typed)
                            << QStringList{QString::fromUtf8(display), QString::fromUtf8(op),
                                           QString::fromUtf8(key), QString::fromUtf8(line)};
    };
    row("HighButton1", "8", "87,00", "", "7", "");
    row("HighButton2", "8", "88,00", "", "8", "");
    row("HighButton3", "8", "89,00", "", "9", "");
    row("HighButton4", "8", "84,00", "", "4", "");
    row("HighButton5", "8", "85,00", "", "5", "");
    row("HighButton6", "8", "86,00", "", "6", "");
    row("HighButton7", "8", "81,00", "", "1", "");
    row("HighButton8", "8", "82,00", "", "2", "");
    row("HighButton9", "8", "83,00", "", "3", "");
    row("HighButton10", "8", "80,00", "", "0", "");
    row("HighButton11", "8", "8,00", "", ",", "");
    row("HighButton12", "8", "8,00", "+", "8", "");
    row("HighButton13", "8", "8,00", "*", "8", "");
    row("HighButton14", "8", "8,00", "/", "8", "");
    row("HighButton15", "8", "8,00", "-", "8", "");
    row("HighButton16", "8", "64,00", "", "8", "Elev2(8,00) = 64,00");
    row("HighButton17", "8", "8,00", "%", "8", "");
    row("HighButton18", "8", "4,00", "", "8", "8,00 / 2 = 4,00");
    row("HighButton19", "8", "8,00", "$", "8", "");
    row("HighButton20", "8", "2,83", "", "8", "Raiz(8,00) = 2,83");
    row("HighButton21", "8", "-8,00", "", "8", "8,00 = -8,00");
    row("HighButton22", "8", "0,00", "", "Clr", "Borrar Datos (Clr)");
    row("HighButton23", "8", "8,00", "", "<-M", "8,00 --> Memo+ [11,00]");
    row("HighButton24", "8", "8,00", "", "<-A", "8,00 --> M(a)");
    row("HighButton25", "8", "0,00", "", "Rst", "Resetear (Rst)");
    row("HighButton26", "8", "5,00", "", "A->", "M(a)[5,00] --> Disp");
    row("HighButton27", "8", "8,00", "", "<-M", "8,00 --> Memo- [-5,00]");
    row("HighButton28", "8", "3,00", "", "M->", "Memo[3,00] --> Disp");
    row("HighButton29", "8", "8,00", "", "<-B", "8,00 --> M(b)");
    row("HighButton30", "8", "8,00", "", "<-C", "8,00 --> M(c)");
    row("HighButton31", "8", "6,00", "", "B->", "M(b)[6,00] --> Disp");
    row("HighButton32", "8", "7,00", "", "C->", "M(c)[7,00] --> Disp");
    row("HighButton33", "8+2", "10,00", "=", "2", "8,00 + 2,00 = 10,00");
    row("HighButton42", "8", "0,00", "", "8", "");
  }
  void everyKeypadButtonClickDoesItsCommand() {
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QStringList, shows);
    SetMemories(form_->Engine());
    form_->Engine().ActualizaMemorias();
    Type(typed);
    Click(qPrintable(button));
    QCOMPARE(Shows(), shows);
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
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
    LitRecorder lit(form_);
    Type(QStringLiteral("\r"));
    QCOMPARE(Lines().last(), QStringLiteral("2,00 * 3,00 = 6,00"));
    QCOMPARE(Focus(), QStringLiteral("ListBox1"));
    QCOMPARE(lit.lit, QStringList{QStringLiteral("HighButton33")});
  }

  // The list's menu keys reach the list through the window's routing and give no command.
  void menuKeyAndShiftF10InTheListOpenItsMenuOnly() {
    Type(QStringLiteral("12+3\r"));
    const QStringList lines = Lines();
    auto* list = Control<dravello::TapeList>("ListBox1");
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
    } keys[] = {{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& k : keys) {
      list->setFocus();
      LitRecorder lit(form_);
      Key(k.key, k.modifiers);
      QTRY_VERIFY(list->Menu() != nullptr && list->Menu()->isVisible());
      list->Menu()->hide();
      QCOMPARE(Lines(), lines);
      QCOMPARE(Display(), QStringLiteral("15,00"));
      QVERIFY(lit.lit.isEmpty());
      QCOMPARE(Focus(), QStringLiteral("ListBox1"));
    }
  }

  void printingFromTheListsMenuIsThePrintButtons() {
    QStringList dialogs;
    QTimer closer;
    closer.setInterval(10);
    connect(&closer, &QTimer::timeout, this, [&] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        dialogs << QString::fromLatin1(dialog->metaObject()->className());
        dialog->reject();
      }
    });
    closer.start();
    auto* list = Control<dravello::TapeList>("ListBox1");
    list->ShowMenu();
    QTRY_VERIFY(list->Menu()->isVisible());
    for (QAction* action : list->Menu()->actions()) {
      if (action->text() == QStringLiteral("&Imprimir…")) action->trigger();
    }
    list->Menu()->hide();
    // The print dialog, or the print button's message where there is no printer.
    QTRY_VERIFY(!dialogs.isEmpty() || !closer_->boxes.isEmpty());
  }

  // Ctrl+Z undoes a step and Ctrl+Y redoes it; F2 corrects the selected line through its
  // dialog (the lines that change are marked); the menu takes an operation out and empties the
  // list, and undo brings the lines back.
  void undoCorrectionAndClearingWorkFromTheKeysAndTheMenu() {
    auto* list = Control<dravello::TapeList>("ListBox1");
    Type(QStringLiteral("12+21,5+7\r"));
    const QStringList typed{QStringLiteral("12,00 + 21,50 = 33,50"),
                            QStringLiteral("33,50 + 7,00 = 40,50")};
    QCOMPARE(Lines(), typed);
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Lines(), typed.mid(0, 1));
    QCOMPARE(Display(), QStringLiteral("7,00"));
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(Lines(), typed);
    QCOMPARE(Display(), QStringLiteral("40,50"));

    QTimer filler;
    connect(&filler, &QTimer::timeout, this, [] {
      if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
        auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("EditImporte2"));
        if (edit == nullptr || edit->text() != QStringLiteral("21,5")) return dialog->reject();
        edit->setText(QStringLiteral("12,5"));
        dialog->accept();
      }
    });
    filler.start(10);
    list->SelectRow(0);
    Key(Qt::Key_F2);
    filler.stop();
    QCOMPARE(Lines(), (QStringList{QStringLiteral("12,00 + 12,50 = 24,50"),
                                   QStringLiteral("24,50 + 7,00 = 31,50")}));
    const QAbstractItemModel* model = list->model();
    QCOMPARE(model->index(1, 0).data(Qt::AccessibleDescriptionRole).toString(),
             QStringLiteral("corregida"));

    list->SelectRow(1);
    Choose(dravello::TapeAction::kRemove);
    QTRY_COMPARE(Lines(), QStringList{QStringLiteral("12,00 + 12,50 = 24,50")});
    Choose(dravello::TapeAction::kClear);
    QTRY_VERIFY(Lines().isEmpty());
    QCOMPARE(Display(), QStringLiteral("24,50"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Lines(), QStringList{QStringLiteral("12,00 + 12,50 = 24,50")});
    while (form_->Journal().CanUndo()) Key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(Lines().isEmpty());
    QCOMPARE(Display(), QStringLiteral("0,00"));
    QVERIFY(closer_->boxes.isEmpty());
  }

  // A closed window's session is the previous one of the next window, which recovers it from
  // the list's menu (its own becoming the previous one); turning "Guardar la cinta en disco" off
  // deletes every journal and is kept in the settings file.
  void thePreviousSessionIsRecoveredAndTheTapeOnDiskTurnedOff() {
    QTemporaryDir state;
    const std::string folder = state.path().toStdString();
    form_->StartJournal(folder);
    Type(QStringLiteral("2*21\r"));
    const std::string settings = window_->SettingsFile();
    window_->Close();  // a normal close
    window_->SetSettingsFile(settings);
    form_ = window_->Open();
    form_->StartJournal(folder);
    Type(QStringLiteral("1+1\r"));
    Choose(dravello::TapeAction::kRecover);
    QTRY_COMPARE(Lines(), QStringList{QStringLiteral("2,00 * 21,00 = 42,00")});
    QCOMPARE(Display(), QStringLiteral("42,00"));
    Choose(dravello::TapeAction::kRecover);
    QTRY_COMPARE(Lines(), QStringList{QStringLiteral("1,00 + 1,00 = 2,00")});
    QVERIFY(!QDir(state.path()).isEmpty(QDir::Files | QDir::NoDotAndDotDot));
    Choose(dravello::TapeAction::kKeepOnDisk);
    QTRY_VERIFY(QDir(state.path()).isEmpty(QDir::Files | QDir::NoDotAndDotDot));
    QVERIFY(!dravello::ReadTapeOnDisk(settings));
    QVERIFY(closer_->boxes.isEmpty());
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

  // The window's own keys click the buttons that no letter reaches, light no keypad button and
  // type nothing.
  void windowKeysClickTheirButtons() {
    Start(kTwoCurrencies);
    // The tooltips name the keys after the hints.
    QCOMPARE(Control("BitBtn2")->toolTip(),
             QStringLiteral("Trae Clipboard a Display\nTeclas: Ctrl+V, May\u00fas+Insert"));
    QCOMPARE(Control("SpeedButton9")->toolTip(),
             QStringLiteral("Configurar Monedas\nTecla: Ctrl+,"));
    QCOMPARE(Control("GradBtn1")->toolTip(), QStringLiteral("Tecla: May\u00fas+F9"));

    Type(QStringLiteral("1234,5"));
    LitRecorder lit(form_);
    Key(Qt::Key_C, Qt::ControlModifier, QStringLiteral("\x03"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("1234,5"));
    QCOMPARE(Lines().last(), QStringLiteral("Copiado a ClipBoard 1.234,50"));
    QCOMPARE(form_->Engine().Estado().MemoriaC, dravello::Currency{});
    QGuiApplication::clipboard()->setText(QStringLiteral("2.000"));
    Key(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QCOMPARE(Display(), QStringLiteral("2.000,00"));
    QCOMPARE(Control<IndicatorShape>("ShapeVisible")->BrushColor(), 0x008080u);
    QGuiApplication::clipboard()->setText(QStringLiteral("3"));
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(Lines().last(), QStringLiteral("Pegado Desde ClipBoard 3,00"));
    QVERIFY(lit.lit.isEmpty());

    // The currency buttons: Ctrl with the button's number; a disabled one does nothing, and
    // the digit is not typed either.
    Key(Qt::Key_1, Qt::ControlModifier, QStringLiteral("1"));
    QCOMPARE(Shown("PanelMoneda"), QStringLiteral("Eur"));
    QCOMPARE(Lines().last(), QStringLiteral("(0,02 Eur)"));
    const int lines = Lines().size();
    Key(Qt::Key_2, Qt::ControlModifier, QStringLiteral("2"));
    QCOMPARE(Lines().size(), lines);
    QCOMPARE(Display(), QStringLiteral("0,02"));
    Key(Qt::Key_0, Qt::ControlModifier | Qt::KeypadModifier, QStringLiteral("0"));
    QCOMPARE(Shown("PanelMoneda"), QStringLiteral("Pts"));
    QCOMPARE(Lines().size(), lines + 3);
    const QString display = Display();

    // The two "Abrir - Cerrar": F9 the operations section, Shift+F9 the equivalences. The keys
    // of buttons in a closed section do nothing, as clicks cannot reach them.
    Key(Qt::Key_F9);
    QCOMPARE(form_->height(), 199);
    Key(Qt::Key_F9, Qt::ShiftModifier);
    Key(Qt::Key_1, Qt::ControlModifier, QStringLiteral("1"));
    QCOMPARE(form_->height(), 199);
    QCOMPARE(Shown("PanelMoneda"), QStringLiteral("Pts"));
    Key(Qt::Key_F9);
    QCOMPARE(form_->height(), 400);
    Key(Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(form_->height(), 322);
    Key(Qt::Key_F9, Qt::ShiftModifier);
    QCOMPARE(form_->height(), 400);

    // Ctrl+P prints (with no printer here, the print button's message), Ctrl+, opens
    // "Configurar".
    QStringList dialogs;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr || qobject_cast<QMessageBox*>(dialog)) return;
      dialogs << QString::fromLatin1(dialog->metaObject()->className());
      dialog->reject();
    });
    closer.start(20);
    Key(Qt::Key_P, Qt::ControlModifier, QStringLiteral("\x10"));
    Key(Qt::Key_Comma, Qt::ControlModifier, QStringLiteral(","));
    QCOMPARE(dialogs, QStringList{"TFormConfigMoneda"});
    QCOMPARE(Display(), display);
    QVERIFY(lit.lit.isEmpty());
    QCOMPARE(
        closer_->boxes,
        QStringList{QStringLiteral("Calculadora Dravello | No hay ninguna impresora instalada.")});
  }

  // Every key that a button's tooltip names does what a click on the button does, with the
  // focus where every command leaves it; the tooltip keeps the button's hint first.
  void everyKeyInATooltipDoesWhatItsButtonDoes() {
    InstantFlashes instant;
    Start();
    for (const dravello::KeyButton& entry : dravello::KeyButtons()) {
      const std::string name(entry.name);
      auto* button = Control<THighButton>(name.c_str());
      const QString keys = QString::fromLatin1(entry.keys.data(), entry.keys.size());
      const QString tip = button->toolTip();
      QVERIFY2(keys.isEmpty() || tip.endsWith(Utf8(dravello::KeysLine(entry.keys))),
               qPrintable(tip));
      QVERIFY2(tip.startsWith(button->accessibleDescription()), qPrintable(tip));
      // The window's own buttons (always on top, minimise) have a test of their own.
      if (name == "HighButtonVisi" || name == "HighButton34") continue;
      for (const QString& token : keys.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        SetMemories(form_->Engine());
        form_->Engine().ActualizaMemorias();
        Type(QStringLiteral("l8"));  // each click and key from a cleared 8
        Click(name.c_str());
        const QStringList clicked = Shows();
        SetMemories(form_->Engine());
        form_->Engine().ActualizaMemorias();
        Type(QStringLiteral("l8"));
        PressKey(token);
        QVERIFY2(Shows() == clicked, qPrintable(token + ": " + Shows().join(QLatin1Char('|'))));
        QVERIFY2(Focus() == QStringLiteral("HighButton33"), qPrintable(token + " " + Focus()));
      }
    }
  }

  // The letters of the key-down table are exactly the accelerator letters of the captions, so
  // each key-down flash shows the button that the accelerator then clicks.
  void keyDownLettersAreTheCaptionsAccelerators() {
    std::set<char> accelerators;
    for (const dravello::KeyButton& entry : dravello::KeyButtons()) {
      const std::string name(entry.name);
      const std::string caption =
          dravello::Utf8ToCp1252(Control<THighButton>(name.c_str())->Caption().toStdString())
              .value_or(std::string());
      const char accel = dravello::AcceleratorOf(caption);
      if (accel != 0) {
        QVERIFY2(accelerators.insert(dravello::UpperAscii(accel)).second, name.c_str());
        QCOMPARE(entry.key_down, int(dravello::UpperAscii(accel)));
      } else {
        QVERIFY2(entry.key_down == 0 || entry.key_down == dravello::kVkDelete, name.c_str());
      }
    }
    QCOMPARE(accelerators,
             (std::set<char>{'X', 'R', 'S', 'A', 'B', 'C', 'M', 'E', 'D', 'L', 'T', 'V', 'Z'}));
  }

  void deleteFlashesDelAndBackspaceDoesNot() {
    Type(QStringLiteral("123"));
    LitRecorder lit(form_);
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
    LitRecorder lit(form_);
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

  // A held key repeats faster than its flashes: every repeat is a command, and the key stops
  // acting within one flash of its release instead of working off a backlog.
  void aHeldKeyStopsActingWithinOneFlashOfItsRelease() {
    Type(QStringLiteral("1"));
    constexpr int kPresses = 34;  // a press and a second of repeats
    int pressed = 0;
    QElapsedTimer since_release;
    QTimer repeats;  // as a desktop repeats a held key, about 33 times a second
    repeats.setInterval(30);
    connect(&repeats, &QTimer::timeout, this, [&] {
      QWidget* focus = QApplication::focusWidget();
      QCoreApplication::postEvent(focus ? focus : form_,
                                  new QKeyEvent(QEvent::KeyPress, Qt::Key_M, Qt::NoModifier,
                                                QStringLiteral("m"), pressed > 0));
      if (++pressed == kPresses) {
        repeats.stop();
        since_release.start();
      }
    });
    repeats.start();
    const auto added = [this] { return form_->Engine().Estado().MemoriaAux.count / 10000; };
    QTRY_COMPARE_WITH_TIMEOUT(added(), std::int64_t{kPresses}, 15000);
    QVERIFY2(since_release.elapsed() < 500,
             qPrintable(QStringLiteral("%1 ms after the release").arg(since_release.elapsed())));
    QTRY_VERIFY(!Control<THighButton>("HighButton23")->IsDown());
    QTest::qWait(150);
    QCOMPARE(added(), std::int64_t{kPresses});
  }

  // The focused highlight button and the focused list show the focus frame.
  void theFocusedButtonAndListShowTheFocusFrame() {
    Type(QStringLiteral("1+2\r"));
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    QWidget* ejecutar = Control("HighButton33");
    QWidget* list = Control("ListBox1");
    const QImage button_focused = ejecutar->grab().toImage();
    const QImage list_unfocused = list->grab().toImage();
    list->setFocus();
    QTRY_COMPARE(Focus(), QStringLiteral("ListBox1"));
    QVERIFY(ejecutar->grab().toImage() != button_focused);
    QVERIFY(list->grab().toImage() != list_unfocused);
    ejecutar->setFocus();
    QTRY_COMPARE(Focus(), QStringLiteral("HighButton33"));
    QCOMPARE(ejecutar->grab().toImage(), button_focused);
    QCOMPARE(list->grab().toImage(), list_unfocused);
  }

  // While the operations section is closed, the list that cannot be seen takes no focus, so
  // letters stay the buttons' accelerators.
  void theClosedListLeavesTheTabCycle() {
    Type(QStringLiteral("5"));
    Control("ListBox1")->setFocus();
    Click("GradBtn2");
    QCOMPARE(form_->height(), 199);
    QCOMPARE(Focus(), QStringLiteral("HighButton33"));
    QStringList reached;
    for (int i = 0; i < 50; ++i) {
      Key(Qt::Key_Tab);
      reached << Focus();
    }
    QVERIFY(!reached.contains(QStringLiteral("ListBox1")));
    Type(QStringLiteral("e"));
    QCOMPARE(Lines().last(), QStringLiteral("5,00 --> Memo- [-5,00]"));
    Click("GradBtn2");
    reached.clear();
    for (int i = 0; i < 50; ++i) {
      Key(Qt::Key_Tab);
      reached << Focus();
    }
    QVERIFY(reached.contains(QStringLiteral("ListBox1")));
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
    QCOMPARE(
        Control("HighButtonVisi")->toolTip(),
        QStringLiteral("Calculadora Siempre Visible\nSiempre encima s\u00f3lo en una sesi\u00f3n "
                       "X11 (en Wayland, con QT_QPA_PLATFORM=xcb)\nTecla: V"));
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
    QPointer<QWidget> form = form_;
    Click("BitBtnCerrar");
    QVERIFY(!form_->isVisible());
    // Ctrl+Q too, as desktop programs close; the door's tooltip names it.
    Start();
    QCOMPARE(Control("BitBtnCerrar")->toolTip(), QStringLiteral("Cerrar\nTecla: Ctrl+Q"));
    Key(Qt::Key_Q, Qt::ControlModifier, QStringLiteral("\x11"));
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
    // Each line knows the currency in which it was written, for saving it.
    const dravello::TapeLines& tape = Control<dravello::TapeList>("ListBox1")->Model()->Lines();
    QCOMPARE((std::vector<std::string>{tape.CurrencyOf(0), tape.CurrencyOf(1), tape.CurrencyOf(2)}),
             (std::vector<std::string>{"Pts", "Pts", "Eur"}));
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

  // What a screen reader gets: a unique name for every control, the texts as shown, the list
  // row by row; with DRAVELLO_ACCESSIBLE_IDS=1 at start-up, the control's name as its
  // description, a handle for test drivers.
  void assistiveToolsSeeEveryControl() {
    qputenv("DRAVELLO_ACCESSIBLE_IDS", "1");
    Start();
    qunsetenv("DRAVELLO_ACCESSIBLE_IDS");
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
    QCOMPARE(described, 88);  // every control of the layout
    QCOMPARE(QAccessible::queryAccessibleInterface(form_)->text(QAccessible::Description),
             QStringLiteral("FormCalculadora"));
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

  // A screen reader says a control's name, its role and its description: the description is
  // the control's Spanish hint, or nothing; the window is a frame.
  void descriptionsAreTheHints_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("description");
    QTest::newRow("button with a hint") << "HighButton22"
                                        << "Borra Display";
    QTest::newRow("button without one") << "HighButton1"
                                        << "";
    QTest::newRow("picture button") << "BitBtn2"
                                    << "Trae Clipboard a Display";
    QTest::newRow("currency button") << "SpeedButton1"
                                     << "Cambia a esta Moneda";
    QTest::newRow("collapse button") << "GradBtn2"
                                     << "";
    QTest::newRow("display") << "Panel1"
                             << "";
    QTest::newRow("list") << "ListBox1"
                          << "";
    QTest::newRow("accumulating memory, its value") << "Panel5"
                                                    << "4,00";
  }
  void descriptionsAreTheHints() {
    QFETCH(QString, control);
    QFETCH(QString, description);
    Type(QStringLiteral("4m"));
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(Control(qPrintable(control)));
    QCOMPARE(a->text(QAccessible::Description), description);
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(form_);
    QCOMPARE(window->role(), QAccessible::Window);
    QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Calculadora Dravello"));
    QCOMPARE(window->text(QAccessible::Description), QString());
  }

  // Each new line of the list is told to screen readers, wherever the focus is: a notification
  // in the window's tree holds the newest line, and is shown anew for each (the events reach
  // AT-SPI only where a bridge listens, which the offscreen platform has not).
  void eachNewLineIsAnnounced() {
    Type(QStringLiteral("2*3\r"));
    QAccessibleInterface* notification = nullptr;
    QList<QAccessibleInterface*> pending{QAccessible::queryAccessibleInterface(form_)};
    while (!pending.isEmpty()) {
      QAccessibleInterface* node = pending.takeFirst();
      if (node->role() == QAccessible::Notification) notification = node;
      if (node->role() == QAccessible::List) continue;  // the rows are no controls
      for (int i = 0; i < node->childCount(); ++i) pending << node->child(i);
    }
    QVERIFY(notification != nullptr);
    QCOMPARE(notification->text(QAccessible::Name), QStringLiteral("2,00 * 3,00 = 6,00"));
    QCOMPARE(notification->text(QAccessible::Description), QStringLiteral("2,00 * 3,00 = 6,00"));
    QCOMPARE(notification->textInterface()->text(0, -1), QStringLiteral("2,00 * 3,00 = 6,00"));
    QVERIFY(!notification->state().focusable);
    Type(QStringLiteral("5m"));
    QCOMPARE(notification->text(QAccessible::Name), QStringLiteral("5,00 --> Memo+ [5,00]"));
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
