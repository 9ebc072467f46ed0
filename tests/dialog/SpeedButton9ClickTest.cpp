// SPDX-License-Identifier: GPL-3.0-or-later
// "Configurar" of the main window: the currency dialog shown modally, and the table, buttons and
// currency strip reloaded from the settings file however the dialog closed.

#include <QApplication>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>
#include <fstream>
#include <memory>
#include <string>

#include "FieldEdit.h"
#include "ModalWatchdog.h"
#include "PrivateProfile.h"
#include "TFormCalculadora.h"
#include "TFormConfigMoneda.h"
#include "Typing.h"
#include "WindowFixture.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

FieldEdit* Field(QWidget* dialog, const char* name) {
  auto* edit = dialog->findChild<FieldEdit*>(QString::fromLatin1(name));
  if (edit == nullptr) qFatal("no field %s", name);
  return edit;
}

// What the user does in the dialog.
void Replace(QWidget* dialog, const char* name, const QString& text) {
  FieldEdit* edit = Field(dialog, name);
  edit->setFocus(Qt::TabFocusReason);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  dialog_test::TypeText(edit, text);
}
void Aceptar(QWidget* dialog) {
  QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
}
void Escape(QWidget* dialog) {
  QTest::keyClick(dialog, Qt::Key_Escape);
}

}  // namespace

class SpeedButton9ClickTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<window_test::WindowFixture> window_;
  std::unique_ptr<dialog_test::ModalWatchdog> watchdog_;
  TFormCalculadora* form_ = nullptr;
  std::string ini_;

  void Start(const std::string& ini_text = {}) {
    if (!ini_text.empty()) window_->WriteSettings(ini_text);
    form_ = window_->Open();
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return window_->Control<T>(name);
  }
  QString Shown(const char* name) const { return window_->Shown(name); }
  void Click(const char* name) { window_->Click(name); }

  // Clicks "Configurar"; the watchdog's answers work the dialog, which must be closed when the
  // click returns.
  void Configurar() {
    Click("SpeedButton9");
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    QVERIFY(watchdog_->AllAnswered());
    QVERIFY(form_->findChildren<TFormConfigMoneda*>().isEmpty());  // freed once closed
  }

 private slots:
  void init() {
    window_ = std::make_unique<window_test::WindowFixture>();
    ini_ = window_->SettingsFile();
    watchdog_ = std::make_unique<dialog_test::ModalWatchdog>();
  }
  void cleanup() {
    window_->Close();
    form_ = nullptr;
    QCOMPARE(watchdog_->forced, 0);
    watchdog_.reset();
    window_.reset();
  }

  void acceptingDefinesACurrencyOnTheWindow() {
    Start();
    QVERIFY(!Control("SpeedButton1")->isEnabled());
    watchdog_->Expect([](QWidget* dialog) {
      QCOMPARE(dialog->windowTitle(), QString::fromUtf8("Definición de Cambios y Monedas"));
      Replace(dialog, "EditMoneda1", QStringLiteral("USD"));
      Replace(dialog, "EditCambio1", QStringLiteral("0.5"));
      Replace(dialog, "EditMoneda0", QStringLiteral("EUR"));
      Aceptar(dialog);
    });
    Configurar();
    QCOMPARE(dravello::ReadProfileString(ini_, "MONEDAS", "Cambio1", ""), std::string("0,5"));
    QVERIFY(Control("SpeedButton1")->isEnabled());
    QCOMPARE(Control<QToolButton>("SpeedButton1")->text(), QStringLiteral("USD"));
    QCOMPARE(Control<QToolButton>("SpeedButton0")->text(), QStringLiteral("EUR"));
    QCOMPARE(Shown("PanelMoneda"), QStringLiteral("EUR"));
    QCOMPARE(Shown("StaticText2"), QStringLiteral("Cambio en EUR"));
    QCOMPARE(form_->Currencies().TablaMonedas()[1].Cambio, 0.5);
    QVERIFY(watchdog_->boxes.isEmpty());
  }

  void cancellingStillReloadsAFileChangedByHand() {
    Start("[MONEDAS]\r\nMoneda1=USD\r\n");
    const std::string by_hand = "[MONEDAS]\r\nMoneda1=USD\r\nMoneda2=GBP\r\nDecimales0=3\r\n";
    WriteFile(ini_, by_hand);
    watchdog_->Expect([](QWidget* dialog) {
      // A new dialog reads the file as it is now.
      QCOMPARE(Field(dialog, "EditMoneda2")->text(), QStringLiteral("GBP"));
      Replace(dialog, "EditMoneda3", QStringLiteral("CHF"));
      Escape(dialog);
    });
    Configurar();
    QCOMPARE(Control<QToolButton>("SpeedButton2")->text(), QStringLiteral("GBP"));
    QVERIFY(Control("SpeedButton2")->isEnabled());
    QVERIFY(!Control("SpeedButton3")->isEnabled());
    QCOMPARE(Shown("PanelDeci"), QStringLiteral("3"));
    QCOMPARE(Shown("Panel1"), QStringLiteral("0,000"));
    std::ifstream in(ini_, std::ios::binary);
    QCOMPARE(std::string(std::istreambuf_iterator<char>(in), {}), by_hand);
  }

  void emptyingTheCurrentCurrencyKeepsItsIndexAndAmount() {
    Start("[MONEDAS]\r\nMoneda1=USD\r\nCambio1=2\r\n");
    QTest::keyClick(form_, Qt::Key_5);
    Click("SpeedButton1");  // 5 Pts are 2,50 USD
    QCOMPARE(form_->Currencies().MonedaActual(), 1);
    QCOMPARE(Shown("Panel1"), QStringLiteral("2,50"));
    watchdog_->Expect([](QWidget* dialog) {
      Replace(dialog, "EditMoneda1", QString());
      Aceptar(dialog);
    });
    Configurar();
    QCOMPARE(form_->Currencies().MonedaActual(), 1);
    QCOMPARE(Shown("PanelMoneda"), QString());
    QVERIFY(!Control("SpeedButton1")->isEnabled());
    QCOMPARE(Shown("Panel1"), QStringLiteral("2,50"));
    for (const char* cell : {"StaticTextMT1", "StaticTextMT2", "StaticTextMT3", "StaticTextMT4",
                             "StaticTextMT5", "StaticTextMT6"}) {
      QVERIFY2(Shown(cell) != QStringLiteral("USD"), cell);
    }
  }

  void aFailedSaveKeepsTheDialogOpenUntilTheUserCancels() {
    WriteFile(window_->PathOf("carpeta"), "");  // a file where the settings file's folder should be
    ini_ = window_->PathOf("carpeta/CalculadoraDravello.INI");
    window_->SetSettingsFile(ini_);
    Start();
    watchdog_->Expect([](QWidget* dialog) {
      Replace(dialog, "EditMoneda1", QStringLiteral("USD"));
      Aceptar(dialog);
    });
    bool still_open = false;
    watchdog_->Expect([&still_open](QWidget* dialog) {
      still_open = dialog->isVisible() && Field(dialog, "EditMoneda1")->text() == "USD";
      Escape(dialog);
    });
    Configurar();
    QVERIFY(still_open);
    QCOMPARE(watchdog_->boxes.size(), 1);
    QVERIFY(watchdog_->boxes.value(0).startsWith(
        QStringLiteral("Calculadora Dravello | Unable to write to ")));
    QVERIFY(!Control("SpeedButton1")->isEnabled());  // the table as the file has it
    QCOMPARE(form_->Currencies().TablaMonedas()[1].Moneda, std::string());
  }
};

QTEST_MAIN(SpeedButton9ClickTest)
#include "SpeedButton9ClickTest.moc"
