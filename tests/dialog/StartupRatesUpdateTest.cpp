// SPDX-License-Identifier: GPL-3.0-or-later
// The rates' update at start-up against a local server started here, and what the rate panel
// of the window says of its rate.

#include <QMenu>
#include <QtTest>
#include <chrono>

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

class StartupRatesUpdateTest : public QObject {
  Q_OBJECT

  dialog_test::ModalWatchdog watchdog_;
  window_test::WindowFixture fixture_;

  // A window on the day after the fixture feed's, over pesetas, dollars from the feed of
  // `fecha`, pounds and a currency of the user's own typed by hand.
  std::unique_ptr<TFormCalculadora> Start(const QString& fuente, const char* al_abrir,
                                          const char* fecha) {
    fixture_.WriteSettings(
        std::string("[MONEDAS]\r\nMoneda0=Pts\r\nDecimales0=0\r\nMoneda2=USD\r\nCambio2=150\r\n"
                    "Moneda3=Lib\r\nCambio3=190\r\nMoneda4=XYZ\r\nCambio4=3\r\n[CAMBIOS]\r\n"
                    "Fuente=") +
        fuente.toStdString() + "\r\nFecha=" + fecha + "\r\nOrigen=www.ecb.europa.eu\r\nFecha2=" +
        fecha + "\r\nOrigen2=www.ecb.europa.eu\r\nActualizarAlAbrir=" + al_abrir + "\r\n");
    std::unique_ptr<TFormCalculadora> form = fixture_.NewWindow();
    form->Currencies().SetToday("2024-03-16");
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("the window is not shown");
    return form;
  }
  static QStringList Tape(TFormCalculadora* form) {
    const dravello::TapeLines& tape =
        form->findChild<dravello::TapeList*>(QStringLiteral("ListBox1"))->Model()->Lines();
    QStringList lines;
    for (std::size_t i = 0; i < tape.Count(); ++i) lines << QString::fromStdString(tape.Line(i));
    return lines;
  }
  static QString Hint(TFormCalculadora* form) {
    return window_test::Control(form, "PanelEqui")->toolTip();
  }
  std::string Saved(const char* section, const char* key) const {
    return dravello::ReadProfileString(fixture_.SettingsFile(), section, key, "none");
  }

 private slots:
  void initTestCase() {
    dravello::SetProgramModuleFolder(DRAVELLO_MODULES);
    StartupRatesUpdate::SetTimeout(1s);
  }
  void cleanup() {
    QCOMPARE(watchdog_.forced, 0);
    QVERIFY(watchdog_.boxes.isEmpty());
  }

  void startUpFetchesOnlyWhenAskedAndTheRatesAreOld() {
    const struct {
      const char* name;
      const char* al_abrir;
      const char* fecha;
      FeedServer::Kind kind;
      int status;
      bool fetched;
      const char* failure;  // what the panel's hint then says after the rate's note
    } cases[] = {
        {"not asked for", "0", "2024-03-01", FeedServer::Kind::kAnswer, 200, false, nullptr},
        {"recent", "1", "2024-03-09", FeedServer::Kind::kAnswer, 200, false, nullptr},
        {"old", "1", "2024-03-08", FeedServer::Kind::kAnswer, 200, true, nullptr},
        {"no feed", "1", "2024-03-01", FeedServer::Kind::kAnswer, 404, true,
         "127.0.0.1 no tiene la fuente de cambios pedida (error HTTP 404)."},
        {"no answer", "1", "", FeedServer::Kind::kSilent, 200, true,
         "127.0.0.1 no ha respondido en 1 segundo."},
    };
    for (const auto& c : cases) {
      FeedServer server;
      server.Answer(QStringLiteral("feed.xml"), c.status,
                    FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml")));
      if (c.kind != FeedServer::Kind::kAnswer) server.Behave(QStringLiteral("feed.xml"), c.kind);
      const auto form =
          Start(server.Url(QStringLiteral("feed.xml")).toString(), c.al_abrir, c.fecha);
      if (!c.fetched) {
        QTest::qWait(300);
        QVERIFY2(server.requests.isEmpty() && Tape(form.get()).isEmpty(), c.name);
        continue;
      }
      QTRY_VERIFY2(!server.requests.isEmpty(), c.name);
      // The window works meanwhile: no key waits for the network.
      for (Qt::Key key : {Qt::Key_1, Qt::Key_2, Qt::Key_Plus, Qt::Key_3, Qt::Key_Return}) {
        QTest::keyClick(form.get(), key);
      }
      QVERIFY2(window_test::Control<ReadoutLabel>(form.get(), "Panel1")->text() == "15", c.name);
      if (c.failure != nullptr) {
        QTRY_VERIFY2(
            Hint(form.get())
                .contains(QStringLiteral("No se han podido actualizar los cambios al abrir el "
                                         "programa: ") +
                          QString::fromUtf8(c.failure)),
            c.name);
        QVERIFY2(Saved("MONEDAS", "Cambio2") == "150" && Tape(form.get()).size() == 1, c.name);
        continue;
      }
      QTRY_VERIFY(Tape(form.get()).contains(QStringLiteral("Cambios actualizados al 15/03/2024")));
      QCOMPARE(Saved("MONEDAS", "Cambio2") + " " + Saved("MONEDAS", "Cambio4"),
               std::string("153,351152073733 3"));
      QCOMPARE(Saved("CAMBIOS", "Fecha") + " " + Saved("CAMBIOS", "Origen3") + " " +
                   Saved("CAMBIOS", "Fecha4"),
               std::string("2024-03-15 127.0.0.1 none"));
      QCOMPARE(window_test::Control<ReadoutLabel>(form.get(), "StaticTextM2")->text(),
               QStringLiteral("0,10"));  // 15 Pts in dollars at the new rate
    }
  }

  void theRatePanelTellsWhereItsRateCameFromAndOpensItsMenu() {
    const auto form = Start(QStringLiteral("https://x/"), "0", "2024-03-06");
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
    QTest::keyClick(form.get(), Qt::Key_0, Qt::ControlModifier);  // the base has no history
    QTest::keyClick(form.get(), Qt::Key_E, Qt::ControlModifier);
    QTRY_VERIFY(form->RateMenu()->isVisible());
    QVERIFY(!entries.last()->isEnabled());
    form->RateMenu()->close();
  }
};

QTEST_MAIN(StartupRatesUpdateTest)
#include "StartupRatesUpdateTest.moc"
