// SPDX-License-Identifier: GPL-3.0-or-later
// "Actualizar cambios" of the currency dialog against a local server started here: the rows it
// fills, every answer that must change nothing, stopping a fetch, and the window's equivalences
// after Aceptar.

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>
#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "FeedServer.h"
#include "FieldEdit.h"
#include "ModalWatchdog.h"
#include "PrivateProfile.h"
#include "ProgramModule.h"
#include "TFormCalculadora.h"
#include "TFormConfigMoneda.h"
#include "WindowFixture.h"

using namespace std::chrono_literals;
using rates_test::FeedServer;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Base pesetas without decimals; euros, dollars, pounds, a currency no feed knows, marks, and
// an inactive row; the rates as a user typed them some time ago.
std::string Settings(const QString& fuente, const std::string& base = "Pts") {
  return "[MONEDAS]\r\nMoneda0=" + base +
         "\r\nDecimales0=0\r\nMoneda1=Eur\r\nCambio1=166,386\r\nMoneda2=USD\r\n"
         "Cambio2=150\r\nMoneda3=Lib\r\nCambio3=190\r\nMoneda4=XYZ\r\nCambio4=3\r\n"
         "Moneda5=DEM\r\nCambio5=85\r\n[CAMBIOS]\r\nFuente=" +
         fuente.toStdString() + "\r\n";
}

// The fixture feed with one text replaced.
QByteArray FeedWith(const QByteArray& from, const QByteArray& to) {
  QByteArray feed = FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml"));
  if (!feed.contains(from)) qFatal("the fixture has no %s", from.constData());
  return feed.replace(from, to);
}

QStringList RateTexts(QWidget* dialog) {
  QStringList texts;
  for (int n = 1; n <= 6; ++n) {
    texts << dialog->findChild<FieldEdit*>(QStringLiteral("EditCambio%1").arg(n))->text();
  }
  return texts;
}

QLabel* Line(QWidget* dialog) {
  return dialog->findChild<QLabel*>(QStringLiteral("LabelActualizacion"));
}
// Where a key goes: the dialog's control with the focus.
QWidget* Focused(QWidget* dialog) {
  return dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
}
QPushButton* Button(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QString::fromLatin1(name));
}

}  // namespace

class BitBtnActualizarTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  std::unique_ptr<dialog_test::ModalWatchdog> watchdog_;
  std::unique_ptr<FeedServer> server_;
  std::unique_ptr<TFormConfigMoneda> dialog_;
  dravello::TTablaMonedas tabla_{};
  std::string ini_;

  TFormConfigMoneda& Open(const std::string& settings, char separator = ',') {
    WriteFile(ini_, settings);
    dialog_ = std::make_unique<TFormConfigMoneda>(ini_, separator, tabla_);
    dialog_->SetFeedTimeout(300ms);
    dialog_->show();
    if (!QTest::qWaitForWindowActive(dialog_.get())) qWarning("the dialog is not active");
    return *dialog_;
  }
  QString FeedUrl() const { return server_->Url(QStringLiteral("feed.xml")).toString(); }
  void Actualizar() {
    QTest::mouseClick(Button(dialog_.get(), "BitBtnActualizar"), Qt::LeftButton);
  }
  // Waits until the fetch has ended, its message box (if any) closed.
  bool Done() {
    return QTest::qWaitFor(
        [this] {
          return Button(dialog_.get(), "BitBtnActualizar")->text() ==
                     QStringLiteral("Act&ualizar cambios") &&
                 QApplication::activeModalWidget() == nullptr;
        },
        5000);
  }

 private slots:
  void initTestCase() { dravello::SetProgramModuleFolder(DRAVELLO_MODULES); }
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    ini_ = dir_->filePath(QStringLiteral("CalculadoraDravello.INI")).toStdString();
    watchdog_ = std::make_unique<dialog_test::ModalWatchdog>();
    server_ = std::make_unique<FeedServer>();
    server_->Answer(QStringLiteral("feed.xml"), 200,
                    FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml")));
  }
  void cleanup() {
    dialog_.reset();
    QCOMPARE(watchdog_->forced, 0);
    watchdog_.reset();
    server_.reset();
    dir_.reset();
  }

  void theMatchedRowsGetTodaysRatesAndNothingIsWrittenBeforeAceptar() {
    const std::string settings = Settings(FeedUrl());
    TFormConfigMoneda& dialog = Open(settings);
    QTest::qWait(50);
    QVERIFY(server_->requests.isEmpty());  // nothing is asked for before the click
    QVERIFY(Line(&dialog)->text().startsWith(QStringLiteral("Cambios introducidos a mano. ")));
    QVERIFY(Line(&dialog)->text().contains(QStringLiteral("127.0.0.1")));
    Actualizar();
    QVERIFY(Done());
    QVERIFY(watchdog_->boxes.isEmpty());
    QCOMPARE(server_->requests.size(), 1);
    QCOMPARE(RateTexts(&dialog), QStringList({"166,386", "153,351152073733", "195,05978898007", "3",
                                              "85,071810944714", "1"}));
    QCOMPARE(Line(&dialog)->text(),
             QString::fromUtf8("Cambios del 15/03/2024 (127.0.0.1). Sin cambio conocido: «XYZ»."));
    QCOMPARE(ReadFile(ini_), settings);
    // The pound's rate retouched by hand is the user's own; the update at start-up asked for.
    QTest::keyClick(dialog.EditCambio(3), Qt::Key_0);
    QTest::mouseClick(dialog.findChild<QCheckBox*>(QStringLiteral("CheckActualizarAlAbrir")),
                      Qt::LeftButton);
    dialog.findChild<QSpinBox*>(QStringLiteral("SpinDias"))->setValue(3);

    QTest::mouseClick(Button(&dialog, "BitBtn1"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const auto cambios = [this](const char* key) {
      return dravello::ReadProfileString(ini_, "CAMBIOS", key, "none");
    };
    QCOMPARE(cambios("Fecha"), std::string("2024-03-15"));
    QCOMPARE(cambios("Origen2"), std::string("127.0.0.1"));
    QCOMPARE(cambios("Fecha3") + cambios("Fecha4"), std::string("nonenone"));
    QCOMPARE(cambios("ActualizarAlAbrir") + cambios("Dias"), std::string("13"));
    QCOMPARE(dravello::ReadProfileString(ini_, "MONEDAS", "Cambio2", ""),
             std::string("153,351152073733"));
    QCOMPARE(dravello::ReadProfileString(ini_, "MONEDAS", "Cambio4", ""), std::string("3"));
    QCOMPARE(dravello::ReadProfileString(ini_, "CAMBIOS", "Fuente", ""), FeedUrl().toStdString());
    QCOMPARE(tabla_[2].Cambio, 153.351152073733);
    QCOMPARE(tabla_[5].Cambio, 85.071810944714);
  }

  void cancelarDiscardsTheUpdatedRates() {
    const std::string settings = Settings(FeedUrl(), "EUR");
    TFormConfigMoneda& dialog = Open(settings, '.');
    Actualizar();
    QVERIFY(Done());
    // Base in euros, "." as the regional separator; the euro row is worth one euro.
    QCOMPARE(RateTexts(&dialog), QStringList({"1", "0.921658986175115", "1.17233294255569", "3",
                                              "0.511291881196218", "1"}));
    QTest::mouseClick(Button(&dialog, "BitBtn2"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(ReadFile(ini_), settings);
  }

  void badAnswersChangeNothing() {
    const QString feed = QStringLiteral("feed.xml");
    const struct {
      const char* name;
      std::function<void(FeedServer&)> serve;
      QString fuente;  // empty: the feed on the server
      std::string base;
      const char* message;  // the start of what the box says, %1 the server
    } cases[] = {
        {"404",
         [&](FeedServer& s) { s.Answer(feed, 404, "no"); },
         {},
         "Pts",
         "%1 no tiene la fuente de cambios pedida (error HTTP 404)."},
        {"500",
         [&](FeedServer& s) { s.Answer(feed, 500, {}); },
         {},
         "Pts",
         "%1 ha respondido con el error HTTP 500."},
        {"never answers",
         [&](FeedServer& s) { s.Behave(feed, FeedServer::Kind::kSilent); },
         {},
         "Pts",
         "%1 no ha respondido en 1 segundo."},
        {"hangs up",
         [&](FeedServer& s) { s.Behave(feed, FeedServer::Kind::kHangUp); },
         {},
         "Pts",
         "No se puede conectar con %1."},
        {"too large",
         [&](FeedServer& s) { s.Behave(feed, FeedServer::Kind::kEndless); },
         {},
         "Pts",
         "La respuesta de %1 supera el tamaño máximo admitido (1 MiB)."},
        {"not XML",
         [&](FeedServer& s) { s.Answer(feed, 200, "<html><body>Hola</html>"); },
         {},
         "Pts",
         "La respuesta de %1 no es un documento XML."},
        {"another shape",
         [&](FeedServer& s) { s.Answer(feed, 200, FeedWith("<Cube>", "<Cube><Cube/>")); },
         {},
         "Pts",
         "La respuesta de %1 no tiene la forma de los cambios de referencia del euro."},
        {"no rates",
         [&](FeedServer& s) {
           s.Answer(feed, 200, "<Envelope><Cube><Cube time='2024-03-15'></Cube></Cube></Envelope>");
         },
         {},
         "Pts",
         "La respuesta de %1 no trae ningún cambio."},
        {"a negative rate",
         [&](FeedServer& s) { s.Answer(feed, 200, FeedWith("rate='160.25'", "rate='-160.25'")); },
         {},
         "Pts",
         "La respuesta de %1 trae un cambio no válido para «JPY»: «-160.25»."},
        {"a zero rate",
         [&](FeedServer& s) { s.Answer(feed, 200, FeedWith("rate='4.2913'", "rate='0'")); },
         {},
         "Pts",
         "La respuesta de %1 trae un cambio no válido para «PLN»: «0»."},
        {"NaN",
         [&](FeedServer& s) { s.Answer(feed, 200, FeedWith("rate='1.0850'", "rate='NaN'")); },
         {},
         "Pts",
         "La respuesta de %1 trae un cambio no válido para «USD»: «NaN»."},
        {"an absurd rate",
         [&](FeedServer& s) { s.Answer(feed, 200, FeedWith("rate='11.2345'", "rate='1e300'")); },
         {},
         "Pts",
         "La respuesta de %1 trae un cambio no válido para «SEK»: «1e300»."},
        {"a bad date",
         [&](FeedServer& s) {
           s.Answer(feed, 200, FeedWith("time='2024-03-15'", "time='2024-02-30'"));
         },
         {},
         "Pts",
         "La respuesta de %1 trae una fecha no válida: «2024-02-30»."},
        {"a redirect to http",
         [&](FeedServer& s) { s.Redirect(feed, "http://127.0.0.1:1/otro.xml"); },
         {},
         "Pts",
         "%1 redirige a una dirección que no es https, y no se ha seguido:\n"
         "http://127.0.0.1:1/otro.xml"},
        {"a base nobody knows",
         [&](FeedServer& s) {
           s.Answer(feed, 200, FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml")));
         },
         {},
         "XYZ",
         "La moneda base «XYZ» no figura en los cambios de %1"},
        {"http to another computer", [](FeedServer&) {},
         QStringLiteral("http://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml"), "Pts",
         "La dirección de la fuente de cambios no se admite:\n"
         "http://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml"},
        {"a file", [](FeedServer&) {}, QStringLiteral("file:///etc/passwd"), "Pts",
         "La dirección de la fuente de cambios no se admite:\nfile:///etc/passwd"},
    };
    for (const auto& c : cases) {
      server_ = std::make_unique<FeedServer>();
      c.serve(*server_);
      const std::string settings = Settings(c.fuente.isEmpty() ? FeedUrl() : c.fuente, c.base);
      TFormConfigMoneda& dialog = Open(settings);
      const QStringList before = RateTexts(&dialog);
      watchdog_->boxes.clear();
      watchdog_->box_icons.clear();
      Actualizar();
      QVERIFY2(Done(), c.name);
      QVERIFY2(watchdog_->boxes.size() == 1, c.name);
      QString message = QString::fromUtf8(c.message);
      if (message.contains(QStringLiteral("%1")))
        message = message.arg(QStringLiteral("127.0.0.1"));
      const QString expected = QStringLiteral("Calculadora Dravello | ") + message;
      QVERIFY2(watchdog_->boxes.first().startsWith(expected),
               qPrintable(watchdog_->boxes.first() + QStringLiteral(" <> ") + expected));
      QVERIFY2(
          watchdog_->boxes.first().endsWith(QStringLiteral("Los cambios no se han modificado.")),
          c.name);
      QVERIFY2(watchdog_->box_icons.first() == QMessageBox::Warning, c.name);
      QVERIFY2(RateTexts(&dialog) == before, c.name);
      QVERIFY2(Line(&dialog)->text() == QStringLiteral("No se han actualizado los cambios."),
               c.name);
      QVERIFY2(dialog.isVisible(), c.name);
      QVERIFY2(ReadFile(ini_) == settings, c.name);
      if (!c.fuente.isEmpty()) QVERIFY2(server_->requests.isEmpty(), c.name);
      dialog_.reset();
    }
  }

  void escapeStopsTheFetchButLeavesTheDialogOpen() {
    server_->Behave(QStringLiteral("feed.xml"), FeedServer::Kind::kSilent);
    TFormConfigMoneda& dialog = Open(Settings(FeedUrl()));
    dialog.SetFeedTimeout(10s);
    const QStringList before = RateTexts(&dialog);
    Actualizar();
    QTRY_COMPARE(server_->requests.size(), 1);
    QCOMPARE(Button(&dialog, "BitBtnActualizar")->text(), QStringLiteral("Interr&umpir"));
    QTest::keyClick(Focused(&dialog), Qt::Key_Escape);
    QVERIFY(Done());
    QCOMPARE(watchdog_->boxes, QStringList(QString::fromUtf8(
                                   "Calculadora Dravello | Se ha interrumpido la consulta "
                                   "de los cambios.\n\nLos cambios no se han modificado.")));
    QCOMPARE(watchdog_->box_icons.first(), QMessageBox::Information);
    QVERIFY(dialog.isVisible());
    QCOMPARE(RateTexts(&dialog), before);
    // With no fetch running, Esc closes the dialog again.
    QTest::keyClick(Focused(&dialog), Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
  }

  void aSecondClickOrItsAltLetterStopsTheFetch() {
    server_->Behave(QStringLiteral("feed.xml"), FeedServer::Kind::kSilent);
    TFormConfigMoneda& dialog = Open(Settings(FeedUrl()));
    dialog.SetFeedTimeout(10s);
    Actualizar();
    QTRY_COMPARE(server_->requests.size(), 1);
    QTest::keyClick(Focused(&dialog), Qt::Key_U, Qt::AltModifier);  // "Interr&umpir"
    QVERIFY(Done());
    QCOMPARE(watchdog_->boxes.size(), 1);
    QVERIFY(watchdog_->boxes.first().contains(QStringLiteral("interrumpido")));
    // And a third click fetches again.
    server_->Answer(QStringLiteral("feed.xml"), 200,
                    FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml")));
    Actualizar();
    QVERIFY(Done());
    QCOMPARE(RateTexts(&dialog).at(1), QStringLiteral("153,351152073733"));
  }

  void closingTheDialogDuringAFetchStopsItSilently() {
    server_->Behave(QStringLiteral("feed.xml"), FeedServer::Kind::kSilent);
    const std::string settings = Settings(FeedUrl());
    TFormConfigMoneda& dialog = Open(settings);
    Actualizar();
    QTRY_COMPARE(server_->requests.size(), 1);
    QTest::mouseClick(Button(&dialog, "BitBtn2"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
    QTest::qWait(500);  // past the time limit
    QVERIFY(watchdog_->boxes.isEmpty());
    QCOMPARE(ReadFile(ini_), settings);
  }

  // From the window: Configurar, Actualizar cambios, Aceptar; the equivalences use the new rates.
  void theWindowConvertsWithTheUpdatedRates() {
    WriteFile(ini_, Settings(FeedUrl()));
    window_test::WindowFixture window;
    window.SetSettingsFile(ini_);
    TFormCalculadora* form = window.Open();
    for (Qt::Key key : {Qt::Key_1, Qt::Key_0, Qt::Key_0, Qt::Key_0}) QTest::keyClick(form, key);
    auto shown = [&window](const char* name) { return window.Shown(name); };
    QCOMPARE(shown("StaticTextM2"), QStringLiteral("6,67"));  // 1000 / 150
    QVERIFY(server_->requests.isEmpty());

    watchdog_->Expect([](QWidget* dialog) {
      QTest::mouseClick(Button(dialog, "BitBtnActualizar"), Qt::LeftButton);
      QTRY_VERIFY(Line(dialog)->text().startsWith(QStringLiteral("Cambios del 15/03/2024")));
      QTest::mouseClick(Button(dialog, "BitBtn1"), Qt::LeftButton);
    });
    window.Click("SpeedButton9");
    QVERIFY(watchdog_->AllAnswered());
    QVERIFY(watchdog_->boxes.isEmpty());
    QCOMPARE(shown("Panel1"), QStringLiteral("1.000"));
    QCOMPARE(shown("StaticTextM1"), QStringLiteral("6,01"));    // 1000 / 166.386
    QCOMPARE(shown("StaticTextM2"), QStringLiteral("6,52"));    // 1000 / 153.351152073733
    QCOMPARE(shown("StaticTextM3"), QStringLiteral("5,13"));    // 1000 / 195.05978898007
    QCOMPARE(shown("StaticTextM4"), QStringLiteral("333,33"));  // 1000 / 3, as typed before
    QCOMPARE(shown("StaticTextM5"), QStringLiteral("11,75"));   // 1000 / 85.071810944714
    QCOMPARE(form->Currencies().TablaMonedas()[2].Cambio, 153.351152073733);
  }
};

QTEST_MAIN(BitBtnActualizarTest)
#include "BitBtnActualizarTest.moc"
