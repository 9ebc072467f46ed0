// SPDX-License-Identifier: GPL-3.0-or-later
// The currency dialog on the offscreen platform: its layout, its fields, Aceptar with the
// settings file and the table, Enter, Esc, and a settings file that cannot be written.

#include <unistd.h>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "CamposMonedas.h"
#include "DesignLayout.h"
#include "FieldEdit.h"
#include "ModalWatchdog.h"
#include "PrivateProfile.h"
#include "TFormConfigMoneda.h"
#include "Typing.h"

namespace {

using dravello::TMoneda;
using dravello::TTablaMonedas;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// A table that no load would give, to see whether the dialog touched it.
TTablaMonedas Untouched() {
  TTablaMonedas tabla;
  for (TMoneda& m : tabla) m = TMoneda{-7, "nada", -3.0};
  return tabla;
}

bool Same(const TTablaMonedas& a, const TTablaMonedas& b) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].Moneda != b[i].Moneda || a[i].Decimales != b[i].Decimales ||
        a[i].Cambio != b[i].Cambio) {
      return false;
    }
  }
  return true;
}

// The twenty fields in the order of the settings file's keys, with their keys.
struct Field {
  QString name;
  std::string key;
};
QList<Field> Fields() {
  QList<Field> fields;
  for (int n = 0; n < dravello::kNumeroMonedas; ++n) {
    fields.append({QStringLiteral("EditMoneda%1").arg(n), "Moneda" + std::to_string(n)});
    fields.append({QStringLiteral("EditDecimales%1").arg(n), "Decimales" + std::to_string(n)});
    if (n > 0) {
      fields.append({QStringLiteral("EditCambio%1").arg(n), "Cambio" + std::to_string(n)});
    }
  }
  return fields;
}

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

}  // namespace

class TFormConfigMonedaTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<dialog_test::ModalWatchdog> watchdog_;
  std::unique_ptr<TFormConfigMoneda> dialog_;
  TTablaMonedas tabla_;
  std::string ini_;

  // A dialog over the settings file `ini_`, shown and active.
  TFormConfigMoneda& Open(char separator = ',') {
    dialog_.reset();
    dialog_ = std::make_unique<TFormConfigMoneda>(ini_, separator, tabla_);
    dialog_->show();
    if (!QTest::qWaitForWindowActive(dialog_.get())) qWarning("the dialog did not become active");
    return *dialog_;
  }

  FieldEdit* Edit(const QString& name) const {
    auto* edit = dialog_->findChild<FieldEdit*>(name);
    if (edit == nullptr) qFatal("no field %s", qPrintable(name));
    return edit;
  }
  QString Text(const QString& name) const { return Edit(name)->text(); }

  // The user replaces a field's text by typing.
  void Replace(const QString& name, const QString& text) {
    FieldEdit* edit = Edit(name);
    edit->setFocus(Qt::TabFocusReason);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    dialog_test::TypeText(edit, text);
  }

  void Click(const char* name) {
    auto* button = dialog_->findChild<QPushButton*>(QString::fromLatin1(name));
    QVERIFY(button != nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  std::string Value(const std::string& key, const std::string& section = "MONEDAS") const {
    return dravello::ReadProfileString(ini_, section, key, "(missing)");
  }

  // The table as a fresh load of the settings file gives it.
  TTablaMonedas Reload(char separator = ',') const {
    dravello::CamposMonedas campos(ini_, separator);
    campos.LeeIni();
    TTablaMonedas tabla{};
    campos.AplicaMonedas(tabla);
    return tabla;
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    ini_ = dir_->filePath(QStringLiteral("CalculadoraDravello.INI")).toStdString();
    watchdog_ = std::make_unique<dialog_test::ModalWatchdog>();
    tabla_ = Untouched();
  }
  void cleanup() {
    dialog_.reset();
    QCOMPARE(watchdog_->forced, 0);
    watchdog_.reset();
    dir_.reset();
  }

  // ------------------------------------------------------------------------------------------
  // The window

  void everyControlSitsAtItsDesignPlaceScaledToTheScreen() {
    struct Place {
      const char* name;
      int left, top, width, height;
    };
    const Place places[] = {
        {"Panel1", 0, 407, 592, 35},
        {"BitBtn1", 58, 4, 92, 30},
        {"BitBtn2", 218, 4, 92, 30},
        {"Panel2", 0, 0, 592, 407},
        {"Label1", 7, 7, 86, 32},
        {"EditMoneda0", 108, 7, 51, 22},
        {"Label2", 163, 7, 84, 45},
        {"EditDecimales0", 278, 7, 44, 22},
        {"Label29", 376, 34, 190, 32},
        {"StaticText1", 32, 56, 208, 22},
        {"StaticText2", 357, 78, 208, 22},
        {"Label21", 22, 95, 132, 16},
        {"Label31", 180, 87, 110, 32},
        {"Bevel2", 325, 84, 9, 309},
        {"EditMoneda1", 37, 128, 50, 22},
        {"EditDecimales1", 193, 128, 45, 22},
        {"EditMoneda2", 37, 172, 50, 22},
        {"EditDecimales2", 193, 172, 45, 22},
        {"EditMoneda3", 37, 217, 50, 22},
        {"EditDecimales3", 193, 217, 45, 22},
        {"EditMoneda4", 37, 261, 50, 22},
        {"EditDecimales4", 193, 261, 45, 22},
        {"EditMoneda5", 37, 305, 50, 22},
        {"EditDecimales5", 193, 305, 45, 22},
        {"EditMoneda6", 37, 350, 50, 22},
        {"EditDecimales6", 193, 350, 45, 22},
        {"EditCambio1", 363, 128, 184, 22},
        {"EditCambio2", 364, 172, 184, 22},
        {"EditCambio3", 365, 217, 183, 22},
        {"EditCambio4", 366, 261, 183, 22},
        {"EditCambio5", 367, 305, 183, 22},
        {"EditCambio6", 367, 350, 183, 22},
        {"Bevel1", 12, 158, 560, 2},
        {"Bevel3", 12, 203, 560, 2},
        {"Bevel4", 12, 247, 560, 2},
        {"Bevel5", 12, 293, 560, 2},
        {"Bevel6", 12, 337, 560, 2},
        // The rates' button in the buttons' panel, its status line under that panel.
        {"BitBtnActualizar", 378, 4, 160, 30},
        {"LabelActualizacion", 6, 444, 580, 52},
        // The update at start-up under it; the history's button beside each rate.
        {"CheckActualizarAlAbrir", 8, 500, 240, 24},
        {"SpinDias", 250, 500, 60, 24},
        {"BitBtnEvolucion1", 555, 128, 30, 22},
        {"BitBtnEvolucion6", 555, 350, 30, 22},
    };
    TFormConfigMoneda& dialog = Open();
    const dravello::DesignScale s = dravello::ScaleForScreen(&dialog);
    auto scaled = [&](int v) { return dravello::MulDiv(v, s.numerator, s.denominator); };
    QCOMPARE(dialog.size(), QSize(scaled(592), scaled(528)));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());  // not resizable
    for (const Place& p : places) {
      auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(p.name));
      QVERIFY2(widget != nullptr, p.name);
      const QRect expected(QPoint(scaled(p.left), scaled(p.top)),
                           QPoint(scaled(p.left + p.width) - 1, scaled(p.top + p.height) - 1));
      QVERIFY2(widget->geometry() == expected, p.name);
    }
    // The rates' button and status line cover no other control.
    for (const char* added : {"BitBtnActualizar", "LabelActualizacion", "CheckActualizarAlAbrir",
                              "SpinDias", "LabelDias", "BitBtnEvolucion3"}) {
      auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(added));
      const QRect place(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
      QVERIFY2(dialog.rect().contains(place), added);
      for (QWidget* other : dialog.findChildren<QWidget*>()) {
        if (other == widget || other->objectName().isEmpty() || other->isAncestorOf(widget) ||
            other->objectName().startsWith(QLatin1String("qt_"))) {
          continue;
        }
        const QRect there(other->mapTo(&dialog, QPoint(0, 0)), other->size());
        QVERIFY2(!place.intersects(there), qPrintable(other->objectName()));
      }
    }
    // The "X" in front of each rate field, on its row.
    const char* xs[] = {"Label30", "Label3", "Label6", "Label9", "Label12", "Label15"};
    for (int n = 1; n <= 6; ++n) {
      auto* x = dialog.findChild<QLabel*>(QString::fromLatin1(xs[n - 1]));
      QVERIFY(x != nullptr);
      QCOMPARE(x->text(), QStringLiteral("X"));
      const QRect rate = Edit(QStringLiteral("EditCambio%1").arg(n))->geometry();
      QVERIFY(x->geometry().right() < rate.left());
      QVERIFY(x->geometry().top() >= rate.top() && x->geometry().bottom() <= rate.bottom());
      QVERIFY(x->geometry().left() >= scaled(347) && x->geometry().left() <= scaled(351));
    }
  }

  void captionsColoursAndFontsAreThoseOfTheDesign() {
    TFormConfigMoneda& dialog = Open();
    QCOMPARE(dialog.windowTitle(), Utf8("Definición de Cambios y Monedas"));
    const dravello::DesignScale s = dravello::ScaleForScreen(&dialog);
    struct Look {
      const char* name;
      const char* text;  // nullptr: an edit
      std::optional<QRgb> background;
      std::optional<QRgb> foreground;
      int font_height;
      bool bold;
    };
    const QRgb blue = qRgb(0, 0, 255), maroon = qRgb(128, 0, 0), black = qRgb(0, 0, 0);
    const Look looks[] = {
        {"Label1", "Abreviatura de Moneda Base", {}, blue, 13, false},
        {"Label2", "Nº de Decimales,  Moneda Base", {}, blue, 12, false},
        {"Label29",
         "1 Unidad de  Moneda Equivale a X Unidades de Moneda Base",
         qRgb(255, 255, 128),
         {},
         13,
         false},
        {"StaticText1", "Moneda", qRgb(255, 255, 0), {}, 0, false},
        {"StaticText2", "Equivalencia en Unidades Base", qRgb(0, 255, 0), {}, 0, false},
        {"Label21", "Abreviatura de Moneda", {}, maroon, 13, false},
        {"Label31", "Nº de Decimales, Valores entre 0 y 9", {}, maroon, 13, false},
        {"Label30", "X", {}, {}, 15, true},
        {"EditMoneda0", nullptr, qRgb(255, 255, 255), black, 17, true},
        {"EditDecimales6", nullptr, qRgb(255, 255, 255), black, 17, true},
        {"EditCambio1", nullptr, qRgb(0xE0, 0xF0, 0xB8), black, 17, true},
    };
    for (const Look& l : looks) {
      auto* widget = dialog.findChild<QWidget*>(QString::fromLatin1(l.name));
      QVERIFY2(widget != nullptr, l.name);
      const bool edit = l.text == nullptr;
      if (!edit) QCOMPARE(qobject_cast<QLabel*>(widget)->text(), Utf8(l.text));
      if (edit) QVERIFY2(!qobject_cast<QLineEdit*>(widget)->hasFrame(), l.name);
      if (l.background) {
        const QPalette::ColorRole role = edit ? QPalette::Base : QPalette::Window;
        QVERIFY2(widget->palette().color(role).rgb() == *l.background, l.name);
      }
      if (l.foreground) {
        const QPalette::ColorRole role = edit ? QPalette::Text : QPalette::WindowText;
        QVERIFY2(widget->palette().color(role).rgb() == *l.foreground, l.name);
      }
      if (l.font_height > 0) {
        QVERIFY2(widget->font().family() == QStringLiteral("Arial"), l.name);
        QVERIFY2(widget->font().pixelSize() ==
                     dravello::MulDiv(l.font_height, s.numerator, s.denominator),
                 l.name);
        QVERIFY2(widget->font().bold() == l.bold, l.name);
      }
    }
    // Every text shows whole at the screen's font: no wrapped line falls off the bottom.
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
      if (!label->wordWrap()) continue;
      QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
               qPrintable(label->objectName()));
    }
    auto* aceptar = dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    auto* cancelar = dialog.findChild<QPushButton*>(QStringLiteral("BitBtn2"));
    QCOMPARE(aceptar->text(), QStringLiteral("&Aceptar"));
    QCOMPARE(cancelar->text(), QStringLiteral("&Cancelar"));
    QVERIFY(aceptar->isDefault());
    QVERIFY(!aceptar->icon().isNull() && !cancelar->icon().isNull());
  }

  void noTwoButtonsShareAnAltLetter() {
    TFormConfigMoneda& dialog = Open();
    QStringList letters;
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      const QKeySequence alt = QKeySequence::mnemonic(button->text());
      QVERIFY2(!alt.isEmpty(), qPrintable(button->objectName()));
      QVERIFY2(!letters.contains(alt.toString()), qPrintable(button->objectName()));
      letters << alt.toString();
    }
    QCOMPARE(letters.size(), 3);
  }

  void theTabOrderRunsFromTheButtonsThroughTheRowsToTheRates() {
    QStringList expected{QStringLiteral("BitBtn1"), QStringLiteral("BitBtn2"),
                         QStringLiteral("BitBtnActualizar")};
    for (int n = 0; n <= 6; ++n) {
      expected << QStringLiteral("EditMoneda%1").arg(n) << QStringLiteral("EditDecimales%1").arg(n);
    }
    for (int n = 1; n <= 6; ++n) {
      expected << QStringLiteral("EditCambio%1").arg(n)
               << QStringLiteral("BitBtnEvolucion%1").arg(n);
    }
    expected << QStringLiteral("CheckActualizarAlAbrir") << QStringLiteral("SpinDias");

    TFormConfigMoneda& dialog = Open();
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("BitBtn1"));
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size() + 1; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order.mid(0, expected.size()), expected);
    QCOMPARE(order.last(), QStringLiteral("BitBtn1"));  // and round again
    QVERIFY(dialog.isVisible());
  }

  void everyControlHasItsOwnAccessibleNameAndItsNameAsDescription() {
    TFormConfigMoneda& dialog = Open();
    QAccessibleInterface* self = QAccessible::queryAccessibleInterface(&dialog);
    QCOMPARE(self->text(QAccessible::Name), Utf8("Definición de Cambios y Monedas"));
    QCOMPARE(self->text(QAccessible::Description), QStringLiteral("FormConfigMoneda"));
    QSet<QString> names;
    int controls = 0;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
      if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_")))
        continue;
      ++controls;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(widget);
      QVERIFY(a != nullptr);
      const QString name = a->text(QAccessible::Name);
      QVERIFY2(!name.isEmpty(), qPrintable(widget->objectName()));
      QVERIFY2(!names.contains(name), qPrintable(name));
      names.insert(name);
      QCOMPARE(a->text(QAccessible::Description), widget->objectName());
    }
    // panels, buttons, texts, fields, X, bevels, the status line, the update at start-up (check
    // box, number, "días"), the history's buttons
    QCOMPARE(controls, 2 + 3 + 7 + 20 + 6 + 6 + 1 + 3 + 6);
    QCOMPARE(QAccessible::queryAccessibleInterface(Edit(QStringLiteral("EditCambio3")))
                 ->text(QAccessible::Name),
             QStringLiteral("Equivalencia en Unidades Base, Moneda 3"));
  }

  void opensCentredOnTheScreen() {
    TFormConfigMoneda& dialog = Open();
    const QPoint centre = dialog.screen()->availableGeometry().center();
    QVERIFY(qAbs(dialog.geometry().center().x() - centre.x()) <= 1);
    QVERIFY(qAbs(dialog.geometry().center().y() - centre.y()) <= 1);
  }

  // ------------------------------------------------------------------------------------------
  // The fields

  void withoutASettingsFileTheFieldsShowTheDefaults() {
    Open();
    for (const Field& f : Fields()) {
      const QString expected = f.key == "Moneda0"               ? QStringLiteral("Pts")
                               : f.key.starts_with("Decimales") ? QStringLiteral("2")
                               : f.key.starts_with("Cambio")    ? QStringLiteral("1")
                                                                : QString();
      QVERIFY2(Text(f.name) == expected, qPrintable(f.name));
    }
  }

  void theFieldsShowTheFileAsItStandsHoweverLong() {
    WriteFile(ini_,
              "[MONEDAS]\r\nMoneda0=\r\nDecimales0=12\r\nMoneda3=ABCDEFG\r\nDecimales2=x\r\n"
              "Cambio1=-5\r\nCambio2=1.234,5\r\nMoneda4=\x80uro\r\nCambio6=" +
                  std::string(300, '7') + "\r\n");
    Open();
    QCOMPARE(Text(QStringLiteral("EditMoneda0")), QString());
    QCOMPARE(Text(QStringLiteral("EditDecimales0")), QStringLiteral("12"));
    QCOMPARE(Text(QStringLiteral("EditMoneda3")), QStringLiteral("ABCDEFG"));
    QCOMPARE(Edit(QStringLiteral("EditMoneda3"))->cursorPosition(), 0);  // its beginning shows
    QCOMPARE(Text(QStringLiteral("EditDecimales2")), QStringLiteral("x"));
    QCOMPARE(Text(QStringLiteral("EditCambio1")), QStringLiteral("-5"));
    QCOMPARE(Text(QStringLiteral("EditCambio2")), QStringLiteral("1.234,5"));
    QCOMPARE(Text(QStringLiteral("EditMoneda4")), Utf8("€uro"));
    QCOMPARE(Text(QStringLiteral("EditCambio6")), QString(300, QLatin1Char('7')));
    QCOMPARE(Text(QStringLiteral("EditDecimales1")), QStringLiteral("2"));
  }

  void whatTheUserTypesIsLimitedPerField() {
    Open();
    const QString ten = QStringLiteral("1234567890");
    for (const Field& f : Fields()) {
      Replace(f.name, ten);
      const int limit = f.key.starts_with("Moneda") ? 3 : f.key.starts_with("Decimales") ? 1 : 0;
      QVERIFY2(Text(f.name) == (limit == 0 ? ten : ten.left(limit)), qPrintable(f.name));
    }
  }

  // ------------------------------------------------------------------------------------------
  // Aceptar

  void aceptarWritesTheFieldsKeepsTheRestOfTheFileAndFillsTheTable() {
    WriteFile(ini_,
              "; mis monedas\r\n[OTRA]\r\nclave=valor\r\n[MONEDAS]\r\nExtra=sigue\r\n"
              "Moneda0=Pts\r\n");
    Open(',');
    Replace(QStringLiteral("EditMoneda0"), QStringLiteral("EUR"));
    Replace(QStringLiteral("EditDecimales0"), QStringLiteral("2"));
    Replace(QStringLiteral("EditMoneda1"), QStringLiteral("USD"));
    Replace(QStringLiteral("EditDecimales1"), QStringLiteral("3"));
    Replace(QStringLiteral("EditCambio1"), QStringLiteral("0.92"));
    Replace(QStringLiteral("EditMoneda2"), QStringLiteral("Pts"));
    Replace(QStringLiteral("EditDecimales2"), QStringLiteral("0"));
    Replace(QStringLiteral("EditCambio2"), QStringLiteral("0,006"));
    Replace(QStringLiteral("EditMoneda6"), Utf8("€"));
    Replace(QStringLiteral("EditCambio6"), QStringLiteral("1E3"));
    Click("BitBtn1");

    QVERIFY(!dialog_->isVisible());
    QCOMPARE(dialog_->result(), int(QDialog::Accepted));
    // Every key, the rates with the regional separator.
    const std::pair<std::string, std::string> written[] = {
        {"Moneda0", "EUR"},  {"Decimales0", "2"}, {"Moneda1", "USD"},  {"Decimales1", "3"},
        {"Cambio1", "0,92"}, {"Moneda2", "Pts"},  {"Decimales2", "0"}, {"Cambio2", "0,006"},
        {"Moneda3", ""},     {"Decimales3", "2"}, {"Cambio3", "1"},    {"Moneda6", "\x80"},
        {"Cambio6", "1E3"},
    };
    for (const auto& [key, value] : written) QVERIFY2(Value(key) == value, key.c_str());
    QCOMPARE(Value("Extra"), std::string("sigue"));
    QCOMPARE(Value("clave", "OTRA"), std::string("valor"));
    QVERIFY(ReadFile(ini_).starts_with("; mis monedas\r\n[OTRA]\r\nclave=valor\r\n[MONEDAS]\r\n"));

    QCOMPARE(tabla_[0].Moneda, std::string("EUR"));
    QCOMPARE(tabla_[0].Cambio, 1.0);
    QCOMPARE(tabla_[1].Moneda, std::string("USD"));
    QCOMPARE(tabla_[1].Decimales, 3);
    QCOMPARE(tabla_[1].Cambio, 0.92);
    QCOMPARE(tabla_[2].Decimales, 0);
    QCOMPARE(tabla_[2].Cambio, 0.006);
    QCOMPARE(tabla_[3].Moneda, std::string());
    QCOMPARE(tabla_[6].Moneda, std::string("\x80"));
    QCOMPARE(tabla_[6].Cambio, 1000.0);
    // Loading the file again gives the same table, and the dialog opens with what was written.
    QVERIFY(Same(Reload(), tabla_));
    Open(',');
    QCOMPARE(Text(QStringLiteral("EditCambio1")), QStringLiteral("0,92"));
    QCOMPARE(Text(QStringLiteral("EditMoneda6")), Utf8("€"));
    QCOMPARE(Text(QStringLiteral("EditMoneda0")), QStringLiteral("EUR"));
  }

  void aceptarWritesValuesAsTypedAndCorrectsOnlyTheTable() {
    struct Case {
      const char* name;
      char separator;
      std::string file;   // the settings file before the dialog opens
      const char* field;  // the field typed into, or nullptr
      const char* typed;  // UTF-8
      std::string key;
      std::string written;  // the key's value after Aceptar
      int entry;
      std::string moneda;  // the table entry after Aceptar
      int decimales;
      double cambio;
    };
    const Case cases[] = {
        {"point under Spanish settings", ',', "", "EditCambio1", "166.386", "Cambio1", "166,386", 1,
         "", 2, 166.386},
        {"comma under English settings", '.', "", "EditCambio1", "166,386", "Cambio1", "166.386", 1,
         "", 2, 166.386},
        {"negative rate", ',', "", "EditCambio2", "-5", "Cambio2", "-5", 2, "", 2, 1.0},
        {"zero rate", ',', "", "EditCambio2", "0", "Cambio2", "0", 2, "", 2, 1.0},
        {"rate in words", ',', "", "EditCambio3", "mucho", "Cambio3", "mucho", 3, "", 2, 1.0},
        {"empty rate", ',', "", "EditCambio3", "", "Cambio3", "", 3, "", 2, 1.0},
        {"rate with two separators", ',', "", "EditCambio4", "1.234,5", "Cambio4", "1,234,5", 4, "",
         2, 1.0},
        {"decimals as a letter", ',', "", "EditDecimales2", "x", "Decimales2", "x", 2, "", 2, 1.0},
        {"no decimals", ',', "", "EditDecimales5", "0", "Decimales5", "0", 5, "", 0, 1.0},
        {"empty base abbreviation", ',', "", "EditMoneda0", "", "Moneda0", "", 0, "Pts", 2, 1.0},
        {"long abbreviation from the file", ',', "[MONEDAS]\nMoneda3=ABCDEFG\n", nullptr, "",
         "Moneda3", "ABCDEFG", 3, "ABCDE", 2, 1.0},
        {"blanks around an abbreviation", ',', "", "EditMoneda1", " $ ", "Moneda1", " $ ", 1, " $ ",
         2, 1.0},
    };
    for (const Case& c : cases) {
      init();
      if (!c.file.empty()) WriteFile(ini_, c.file);
      Open(c.separator);
      if (c.field != nullptr) Replace(QString::fromLatin1(c.field), Utf8(c.typed));
      Click("BitBtn1");
      QVERIFY2(dialog_->result() == QDialog::Accepted, c.name);
      QVERIFY2(Value(c.key) == c.written, c.name);
      const TMoneda& m = tabla_[static_cast<std::size_t>(c.entry)];
      QVERIFY2(m.Moneda == c.moneda, c.name);
      QVERIFY2(m.Decimales == c.decimales, c.name);
      QVERIFY2(m.Cambio == c.cambio, c.name);
      // The next opening shows what was written.
      Open(c.separator);
      const Field field = [&] {
        for (const Field& f : Fields()) {
          if (f.key == c.key) return f;
        }
        return Field{};
      }();
      QVERIFY2(Edit(field.name)->FieldText() == c.written, c.name);
      cleanup();
    }
    init();
  }

  // ------------------------------------------------------------------------------------------
  // Keys and closing

  void enterInAnyFieldAccepts() {
    for (const Field& f : Fields()) {
      init();
      Open();
      Replace(QStringLiteral("EditMoneda1"), QStringLiteral("USD"));
      Edit(f.name)->setFocus(Qt::TabFocusReason);
      QTest::keyClick(Edit(f.name), Qt::Key_Return);
      QVERIFY2(dialog_->result() == QDialog::Accepted, qPrintable(f.name));
      QVERIFY2(!dialog_->isVisible(), qPrintable(f.name));
      QVERIFY2(Value("Moneda1") == "USD", qPrintable(f.name));
      QCOMPARE(tabla_[1].Moneda, std::string("USD"));
      cleanup();
    }
    init();
  }

  void escInAnyFieldCancelsAndWritesNothing() {
    const std::string before = "[MONEDAS]\r\nMoneda0=Pts\r\nMoneda1=USD\r\nCambio1=0,9\r\n";
    for (const Field& f : Fields()) {
      init();
      WriteFile(ini_, before);
      Open();
      Replace(f.name, QStringLiteral("9"));
      QTest::keyClick(Edit(f.name), Qt::Key_Escape);
      QVERIFY2(dialog_->result() == QDialog::Rejected, qPrintable(f.name));
      QVERIFY2(!dialog_->isVisible(), qPrintable(f.name));
      QVERIFY2(ReadFile(ini_) == before, qPrintable(f.name));
      QVERIFY(Same(tabla_, Untouched()));
      cleanup();
    }
    init();
  }

  void cancelarTheCloseBoxAndEnterOnCancelarWriteNothing() {
    const std::function<void()> ways[] = {
        [this] { Click("BitBtn2"); },
        [this] { dialog_->close(); },
        [this] {
          auto* cancelar = dialog_->findChild<QPushButton*>(QStringLiteral("BitBtn2"));
          cancelar->setFocus(Qt::TabFocusReason);
          QTest::keyClick(cancelar, Qt::Key_Return);
        },
        [this] { QTest::keyClick(dialog_.get(), Qt::Key_C, Qt::AltModifier); },
    };
    for (const auto& way : ways) {
      init();
      Open();
      Replace(QStringLiteral("EditMoneda1"), QStringLiteral("USD"));
      way();
      QTRY_VERIFY(!dialog_->isVisible());  // a mnemonic clicks after a short animation
      QCOMPARE(dialog_->result(), int(QDialog::Rejected));
      QVERIFY(!QFile::exists(QString::fromStdString(ini_)));
      QVERIFY(Same(tabla_, Untouched()));
      cleanup();
    }
    init();
  }

  void altAAccepts() {
    Open();
    QTest::keyClick(Edit(QStringLiteral("EditMoneda0")), Qt::Key_A, Qt::AltModifier);
    QTRY_COMPARE(dialog_->result(), int(QDialog::Accepted));
    QCOMPARE(Value("Moneda0"), std::string("Pts"));
  }

  // ------------------------------------------------------------------------------------------
  // A settings file that cannot be written

  void anUnwritableFileIsReportedAndTheDialogKeepsWhatWasTyped() {
    // Places that no user, root included, can write a file to.
    struct Case {
      const char* name;
      std::function<std::string(const QString& dir)> prepare;  // returns the settings file
      std::function<void(const std::string& ini)> mend;        // makes it writable
    };
    const Case cases[] = {
        {"its folder is a file",
         [](const QString& dir) {
           WriteFile((dir + QStringLiteral("/carpeta")).toStdString(), "no soy carpeta");
           return (dir + QStringLiteral("/carpeta/CalculadoraDravello.INI")).toStdString();
         },
         [](const std::string& ini) {
           const std::filesystem::path folder = std::filesystem::path(ini).parent_path();
           std::filesystem::remove(folder);
           std::filesystem::create_directory(folder);
         }},
        {"it is a folder",
         [](const QString& dir) {
           const QString ini = dir + QStringLiteral("/CalculadoraDravello.INI");
           QDir().mkpath(ini + QStringLiteral("/dentro"));
           return ini.toStdString();
         },
         [](const std::string& ini) { std::filesystem::remove_all(ini); }},
    };
    for (const Case& c : cases) {
      init();
      ini_ = c.prepare(dir_->path());
      Open(',');
      Replace(QStringLiteral("EditMoneda1"), QStringLiteral("USD"));
      Replace(QStringLiteral("EditCambio1"), QStringLiteral("0.92"));
      Replace(QStringLiteral("EditDecimales1"), QStringLiteral("x"));
      Click("BitBtn1");

      // The general error report, and the dialog still open with the texts as typed.
      QVERIFY2(watchdog_->boxes ==
                   QStringList{QStringLiteral("Calculadora Dravello | Unable to write to ") +
                               QString::fromStdString(ini_) + QLatin1Char('.')},
               qPrintable(watchdog_->boxes.join(QLatin1Char('\n'))));
      QCOMPARE(watchdog_->box_icons.value(0), QMessageBox::Critical);
      QVERIFY2(dialog_->isVisible(), c.name);
      QCOMPARE(Text(QStringLiteral("EditMoneda1")), QStringLiteral("USD"));
      QCOMPARE(Text(QStringLiteral("EditCambio1")), QStringLiteral("0.92"));
      QCOMPARE(Text(QStringLiteral("EditDecimales1")), QStringLiteral("x"));
      QVERIFY(Same(tabla_, Untouched()));
      QVERIFY(!QFileInfo(QString::fromStdString(ini_)).isFile());

      // Once the place is writable, Aceptar again saves what was typed.
      c.mend(ini_);
      Click("BitBtn1");
      QVERIFY2(dialog_->result() == QDialog::Accepted, c.name);
      QCOMPARE(watchdog_->boxes.size(), 1);
      QCOMPARE(Value("Moneda1"), std::string("USD"));
      QCOMPARE(Value("Cambio1"), std::string("0,92"));
      QCOMPARE(tabla_[1].Cambio, 0.92);
      cleanup();
    }
    init();
  }

  void cancelAfterAFailedWriteWritesNothing() {
    WriteFile(dir_->filePath(QStringLiteral("carpeta")).toStdString(), "");
    ini_ = dir_->filePath(QStringLiteral("carpeta/CalculadoraDravello.INI")).toStdString();
    Open();
    Replace(QStringLiteral("EditMoneda1"), QStringLiteral("USD"));
    Click("BitBtn1");
    Click("BitBtn1");
    QCOMPARE(watchdog_->boxes.size(), 2);  // every try is reported
    QVERIFY(dialog_->isVisible());
    QTest::keyClick(Edit(QStringLiteral("EditMoneda1")), Qt::Key_Escape);
    QCOMPARE(dialog_->result(), int(QDialog::Rejected));
    QVERIFY(Same(tabla_, Untouched()));
  }

  void aReadOnlyFolderKeepsTheFileAsItWas() {
    if (::geteuid() == 0) QSKIP("root writes to read-only folders");
    const std::string before = "[MONEDAS]\r\nMoneda1=GBP\r\n";
    WriteFile(ini_, before);
    Open();
    QFile::setPermissions(dir_->path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    Replace(QStringLiteral("EditMoneda1"), QStringLiteral("USD"));
    Click("BitBtn1");
    QFile::setPermissions(dir_->path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(watchdog_->boxes.size(), 1);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(Text(QStringLiteral("EditMoneda1")), QStringLiteral("USD"));
    QCOMPARE(ReadFile(ini_), before);
  }
};

QTEST_MAIN(TFormConfigMonedaTest)
#include "TFormConfigMonedaTest.moc"
