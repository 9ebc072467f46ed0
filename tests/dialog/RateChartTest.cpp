// SPDX-License-Identifier: GPL-3.0-or-later
// "Evolución…": the chart of a rate's history from a local server, the cache that spares the
// network the same day, and what the window says when there is no chart to show.

#include <QLabel>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <chrono>

#include "FeedServer.h"
#include "ModalWatchdog.h"
#include "ProgramModule.h"
#include "RateChart.h"
#include "TFormConfigMoneda.h"
#include "WindowFixture.h"

using namespace std::chrono_literals;
using rates_test::FeedServer;

namespace {

// What the chart's window shows: its summary, or its message when there is no chart, and the
// rows of its table.
struct Shown {
  QString text;
  QStringList rows;
  QString note;
};

Shown Read(QWidget* window) {
  Shown shown;
  const auto* pages = window->findChild<QStackedWidget*>();
  for (QLabel* label : window->findChildren<QLabel*>()) {
    const QString name = label->accessibleName();
    if (name == (pages->currentIndex() == 0 ? QStringLiteral("Aviso") : QStringLiteral("Resumen")))
      shown.text = label->text();
    if (name == QStringLiteral("Nota") && label->isVisibleTo(window)) shown.note = label->text();
  }
  if (pages->currentIndex() == 1) {
    const auto* table = window->findChild<QTableWidget*>();
    for (int row = 0; row < table->rowCount(); ++row) {
      shown.rows << table->item(row, 0)->text() + QLatin1Char(' ') + table->item(row, 1)->text() +
                        QLatin1Char(' ') + table->item(row, 2)->text();
    }
  }
  return shown;
}

}  // namespace

class RateChartTest : public QObject {
  Q_OBJECT

  QTemporaryDir cache_;
  dialog_test::ModalWatchdog watchdog_;
  FeedServer server_;
  window_test::WindowFixture fixture_;

  // Opens the chart of `moneda` in pesetas on `today` and reads it once `ready` says so.
  Shown Open(const char* moneda, const char* today, const std::function<bool(QWidget*)>& ready) {
    Shown shown;
    watchdog_.Expect([&](QWidget* window) {
      QTRY_VERIFY_WITH_TIMEOUT(ready(window), 5000);
      shown = Read(window);
      window->close();
    });
    RateChart::Open({fixture_.SettingsFile(), "Pts", moneda, 150.0, ',', today}, nullptr);
    return shown;
  }
  static bool Charted(QWidget* window) {
    return window->findChild<QStackedWidget*>()->currentIndex() == 1;
  }
  void Settings(const QString& historico) const {
    fixture_.WriteSettings("[MONEDAS]\r\nMoneda2=USD\r\nCambio2=150\r\n[CAMBIOS]\r\nHistorico=" +
                           historico.toStdString() + "\r\n");
  }

 private slots:
  void initTestCase() {
    dravello::SetProgramModuleFolder(DRAVELLO_MODULES);
    RateChart::SetTimeout(1s);
    qputenv("XDG_CACHE_HOME", cache_.path().toLocal8Bit());
    server_.Answer(QStringLiteral("hist.xml"), 200,
                   FeedServer::Fixture(QStringLiteral("eurofxref-hist-90d.xml")));
    Settings(server_.Url(QStringLiteral("hist.xml")).toString());
  }
  void cleanup() {
    QVERIFY(watchdog_.AllAnswered());
    QCOMPARE(watchdog_.forced, 0);
  }

  void theHistoryIsChartedAndKeptForTheDay() {
    const Shown first = Open("USD", "2024-03-16", Charted);
    QCOMPARE(first.text,
             QStringLiteral("1 USD en Pts del 12/03/2024 al 15/03/2024, 4 días con cambio "
                            "publicado (127.0.0.1). Mínimo: 151,951 el 13/03/2024. Máximo: 153,351 "
                            "el 15/03/2024. Último: 153,351 el 15/03/2024. Cambio de la tabla: "
                            "150,000."));
    QCOMPARE(first.rows, QStringList({"12/03/2024 152,368 ", "13/03/2024 151,951 mínimo",
                                      "14/03/2024 152,648 ", "15/03/2024 153,351 máximo"}));
    QCOMPARE(server_.requests.size(), 1);
    // The same day again: from the cache, without the network; the pound lacks a day.
    QCOMPARE(Open("Lib", "2024-03-16", Charted).rows.size(), 3);
    QCOMPARE(server_.requests.size(), 1);
    // A day later the server fails: the chart of the day before, said as such.
    server_.Answer(QStringLiteral("hist.xml"), 500, {});
    const Shown later = Open("USD", "2024-03-17", Charted);
    QCOMPARE(later.rows.size(), 4);
    QCOMPARE(later.note, QStringLiteral("No se ha podido actualizar el histórico: 127.0.0.1 ha "
                                        "respondido con el error HTTP 500. Se muestra el "
                                        "consultado el 16/03/2024."));
    QCOMPARE(server_.requests.size(), 2);
  }

  void withoutAChartTheWindowSaysWhy() {
    const auto message = [](QWidget* window) { return !Read(window).text.contains("Consultando"); };
    QCOMPARE(Open("XYZ", "2024-03-16", message).text,
             QStringLiteral("La moneda «XYZ» no figura en el histórico de cambios de 127.0.0.1 ni "
                            "entre las monedas anteriores al euro, así que no hay evolución que "
                            "mostrar: su cambio es el que usted escribe."));
    server_.Behave(QStringLiteral("otro.xml"), FeedServer::Kind::kHangUp);
    Settings(server_.Url(QStringLiteral("otro.xml")).toString());  // no cache of this address
    QCOMPARE(Open("USD", "2024-04-01", message).text,
             QStringLiteral("No se puede conectar con 127.0.0.1. Compruebe la conexión a la red."));
    Settings(QStringLiteral("http://www.ecb.europa.eu/h.xml"));
    const int before = server_.requests.size();
    QVERIFY(
        Open("USD", "2024-04-01", message)
            .text.startsWith(QStringLiteral("La dirección de la fuente de cambios no se admite")));
    QCOMPARE(server_.requests.size(), before);
  }

  // The button beside a rate of the currency dialog charts that row as it stands.
  void theDialogChartsTheRowOfItsButton() {
    Settings(server_.Url(QStringLiteral("hist.xml")).toString());
    server_.Answer(QStringLiteral("hist.xml"), 200,
                   FeedServer::Fixture(QStringLiteral("eurofxref-hist-90d.xml")));
    dravello::TTablaMonedas tabla{};
    TFormConfigMoneda dialog(fixture_.SettingsFile(), ',', tabla);
    dialog.show();
    QString summary;
    watchdog_.Expect([&](QWidget* window) {
      QTRY_VERIFY_WITH_TIMEOUT(Charted(window), 5000);
      summary = Read(window).text;
      window->close();
    });
    QTest::mouseClick(dialog.findChild<QToolButton*>(QStringLiteral("BitBtnEvolucion2")),
                      Qt::LeftButton);
    QVERIFY(summary.startsWith(QStringLiteral("1 USD en Pts del 12/03/2024")));
    QVERIFY(summary.endsWith(QStringLiteral("Cambio de la tabla: 150,000.")));
  }
};

QTEST_MAIN(RateChartTest)
#include "RateChartTest.moc"
