// SPDX-License-Identifier: GPL-3.0-or-later
// The rates' update at start-up against a local server started here, and what the rate panel
// of the window says of its rate.

#include <QMenu>
#include <QtTest>
#include <chrono>
#include <fstream>
#include <iterator>

#include "FeedServer.h"
#include "ModalWatchdog.h"
#include "PrivateProfile.h"
#include "ProgramModule.h"
#include "StartupRatesUpdate.h"
#include "TapeList.h"
#include "TapeModel.h"
#include "WindowFixture.h"

using namespace std::chrono_literals;
using rates_test::FeedServer;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Pesetas, dollars, pounds and a currency of the user's own; the dollars from the feed of
// `fecha`, the rest typed by hand.
std::string Settings(const QString& fuente, const char* al_abrir, const char* fecha) {
  return std::string(
             "[MONEDAS]\r\nMoneda0=Pts\r\nDecimales0=0\r\nMoneda2=USD\r\nCambio2=150\r\n"
             "Moneda3=Lib\r\nCambio3=190\r\nMoneda4=XYZ\r\nCambio4=3\r\n[CAMBIOS]\r\n"
             "Fuente=") +
         fuente.toStdString() + "\r\nFecha=" + fecha +
         "\r\nOrigen=www.ecb.europa.eu\r\nFecha2=" + fecha +
         "\r\nOrigen2=www.ecb.europa.eu\r\nActualizarAlAbrir=" + al_abrir + "\r\n";
}

}  // namespace

class StartupRatesUpdateTest : public QObject {
  Q_OBJECT

  dialog_test::ModalWatchdog watchdog_;

  // A window over `settings` on the day after the fixture feed's, shown.
  std::unique_ptr<TFormCalculadora> Start(window_test::WindowFixture& fixture,
                                          const std::string& settings) {
    fixture.WriteSettings(settings);
    std::unique_ptr<TFormCalculadora> form = fixture.NewWindow();
    form->Currencies().SetToday("2024-03-16");
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("the window is not shown");
    return form;
  }
  static QStringList Tape(TFormCalculadora* form) {
    QStringList lines;
    const dravello::TapeLines& tape =
        form->findChild<dravello::TapeList*>(QStringLiteral("ListBox1"))->Model()->Lines();
    for (std::size_t i = 0; i < tape.Count(); ++i) lines << QString::fromStdString(tape.Line(i));
    return lines;
  }
  static QString Hint(TFormCalculadora* form) {
    return window_test::Control(form, "PanelEqui")->toolTip();
  }

 private slots:
  void initTestCase() {
    dravello::SetProgramModuleFolder(DRAVELLO_MODULES);
    StartupRatesUpdate::SetTimeout(1s);
  }

  void startUpFetchesOnlyWhenAskedAndTheRatesAreOld() {
    const struct {
      const char* name;
      const char* al_abrir;
      const char* fecha;
      FeedServer::Kind kind;
      int status;
      bool fetched;
      const char* note;  // what the panel's hint says after the rate's note, if anything
    } cases[] = {
        {"not asked for", "0", "2024-03-01", FeedServer::Kind::kAnswer, 200, false, nullptr},
        {"recent", "1", "2024-03-09", FeedServer::Kind::kAnswer, 200, false, nullptr},
        {"old", "1", "2024-03-08", FeedServer::Kind::kAnswer, 200, true, nullptr},
        {"no feed", "1", "2024-03-01", FeedServer::Kind::kAnswer, 404, true,
         "No se han podido actualizar los cambios al abrir el programa: 127.0.0.1 no tiene la "
         "fuente de cambios pedida (error HTTP 404)."},
        {"no answer", "1", "", FeedServer::Kind::kSilent, 200, true,
         "No se han podido actualizar los cambios al abrir el programa: 127.0.0.1 no ha "
         "respondido en 1 segundo."},
    };
    for (const auto& c : cases) {
      FeedServer server;
      server.Answer(QStringLiteral("feed.xml"), c.status,
                    FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml")));
      if (c.kind != FeedServer::Kind::kAnswer) server.Behave(QStringLiteral("feed.xml"), c.kind);
      window_test::WindowFixture fixture;
      const std::string settings =
          Settings(server.Url(QStringLiteral("feed.xml")).toString(), c.al_abrir, c.fecha);
      const auto form = Start(fixture, settings);
      if (!c.fetched) {
        QTest::qWait(300);
        QVERIFY2(server.requests.isEmpty() && Tape(form.get()).isEmpty(), c.name);
        QVERIFY2(ReadFile(fixture.SettingsFile()) == settings, c.name);
        continue;
      }
      QTRY_VERIFY2(!server.requests.isEmpty(), c.name);
      // The window works meanwhile: no key waits for the network.
      for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_Plus, Qt::Key_3, Qt::Key_Return}) {
        QTest::keyClick(form.get(), key);
      }
      QVERIFY2(window_test::Control<ReadoutLabel>(form.get(), "Panel1")->text() == "15", c.name);
      if (c.note != nullptr) {
        QTRY_VERIFY2(Hint(form.get()).contains(QString::fromUtf8(c.note)), c.name);
        QVERIFY2(ReadFile(fixture.SettingsFile()) == settings, c.name);
        QVERIFY2(!Tape(form.get()).contains(QStringLiteral("Cambios actualizados al 15/03/2024")),
                 c.name);
        continue;
      }
      QTRY_VERIFY2(Tape(form.get()).contains(QStringLiteral("Cambios actualizados al 15/03/2024")),
                   c.name);
      const std::string ini = fixture.SettingsFile();
      QCOMPARE(dravello::ReadProfileString(ini, "MONEDAS", "Cambio2", ""),
               std::string("153,351152073733"));
      QCOMPARE(dravello::ReadProfileString(ini, "MONEDAS", "Cambio4", ""), std::string("3"));
      QCOMPARE(dravello::ReadProfileString(ini, "CAMBIOS", "Fecha", ""), std::string("2024-03-15"));
      QCOMPARE(dravello::ReadProfileString(ini, "CAMBIOS", "Origen3", ""),
               std::string("127.0.0.1"));
      QCOMPARE(dravello::ReadProfileString(ini, "CAMBIOS", "Fecha4", "none"), std::string("none"));
      QCOMPARE(form->Currencies().TablaMonedas()[2].Cambio, 153.351152073733);
      QCOMPARE(window_test::Control<ReadoutLabel>(form.get(), "StaticTextM2")->text(),
               QStringLiteral("0,10"));  // 15 Pts in dollars at the new rate
      QVERIFY(!Hint(form.get()).contains(QStringLiteral("No se han")));
    }
    QCOMPARE(watchdog_.forced, 0);
    QVERIFY(watchdog_.boxes.isEmpty());
  }

  void theRatePanelTellsWhereItsRateCameFromAndOpensItsMenu() {
    window_test::WindowFixture fixture;
    const auto form = Start(fixture, Settings(QStringLiteral("https://x/"), "0", "2024-03-06"));
    QCOMPARE(Hint(form.get()),
             QStringLiteral("Moneda base: su cambio es siempre 1\nTecla: Ctrl+E"));
    QTest::keyClick(form.get(), Qt::Key_2, Qt::ControlModifier);  // the dollars
    QCOMPARE(Hint(form.get()),
             QStringLiteral("Cambio del 06/03/2024 (BCE), hace 10 días\nTecla: Ctrl+E"));
    QCOMPARE(window_test::Control(form.get(), "PanelEqui")->accessibleDescription(),
             QStringLiteral("Cambio del 06/03/2024 (BCE), hace 10 días"));

    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(form->RateMenu() != nullptr && form->RateMenu()->isVisible());
    const QList<QAction*> entries = form->RateMenu()->actions();
    QCOMPARE(entries.first()->text(), QStringLiteral("Cambio del 06/03/2024 (BCE), hace 10 días"));
    QCOMPARE(form->RateMenu()->activeAction(), entries.last());
    QVERIFY(entries.last()->isEnabled());
    QTest::keyClick(form->RateMenu(), Qt::Key_Escape);
    QTest::keyClick(form.get(), Qt::Key_3, Qt::ControlModifier);  // the pounds, typed by hand
    QCOMPARE(Hint(form.get()), QStringLiteral("Cambio introducido a mano\nTecla: Ctrl+E"));
    QTest::keyClick(form.get(), Qt::Key_0, Qt::ControlModifier);  // the base has no history
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(form->RateMenu()->isVisible());
    QVERIFY(!form->RateMenu()->actions().last()->isEnabled());
    form->RateMenu()->close();
  }
};

QTEST_MAIN(StartupRatesUpdateTest)
#include "StartupRatesUpdateTest.moc"
