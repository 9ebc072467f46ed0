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
#include "IsoDates.h"
#include "ModalWatchdog.h"
#include "ProgramModule.h"
#include "RateChart.h"
#include "TFormConfigMoneda.h"
#include "WindowFixture.h"

using namespace std::chrono_literals;
using rates_test::FeedServer;

namespace {

// What the chart's window says (its description: the summary, or the message in place of the
// chart), its note, and its table's rows.
struct Shown {
  QString text, note;
  QStringList rows;
};

bool Charted(QWidget* window) {
  return window->findChild<QStackedWidget*>()->currentIndex() == 1;
}
bool Answered(QWidget* window) {
  return !window->accessibleDescription().startsWith(QStringLiteral("Consultando"));
}

}  // namespace

class RateChartTest : public QObject {
  Q_OBJECT

  QTemporaryDir cache_;
  dialog_test::ModalWatchdog watchdog_;
  FeedServer server_;
  window_test::WindowFixture fixture_;
  const std::string today_ = dravello::LocalToday();

  // Reads the chart's window that `open` opens, once `ready` says so, then closes it.
  Shown Read(const std::function<void()>& open, bool (*ready)(QWidget*) = Charted) {
    Shown shown;
    watchdog_.Expect([&](QWidget* window) {
      QTRY_VERIFY_WITH_TIMEOUT(ready(window), 5000);
      shown.text = window->accessibleDescription();
      for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->accessibleName() == "Nota" && label->isVisibleTo(window))
          shown.note = label->text();
      }
      const auto* table = window->findChild<QTableWidget*>();
      for (int row = 0; row < table->rowCount(); ++row) {
        shown.rows << QStringList{table->item(row, 0)->text(), table->item(row, 1)->text(),
                                  table->item(row, 2)->text()}
                          .join(QLatin1Char(' '));
      }
      window->close();
    });
    open();
    return shown;
  }
  Shown Open(const char* moneda, const std::string& today, bool (*ready)(QWidget*) = Charted) {
    return Read(
        [&] {
          RateChart::Open({fixture_.SettingsFile(), "Pts", moneda, 150.0, ',', today}, nullptr);
        },
        ready);
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
    // From the button beside the dollar's rate in the currency dialog.
    dravello::TTablaMonedas tabla{};
    TFormConfigMoneda dialog(fixture_.SettingsFile(), ',', tabla);
    dialog.show();
    const Shown first = Read([&] {
      QTest::mouseClick(dialog.findChild<QToolButton*>(QStringLiteral("BitBtnEvolucion2")),
                        Qt::LeftButton);
    });
    QCOMPARE(first.text,
             QStringLiteral("1 USD en Pts del 12/03/2024 al 15/03/2024, 4 días con cambio "
                            "publicado (127.0.0.1). Mínimo: 151,951 el 13/03/2024. Máximo: 153,351 "
                            "el 15/03/2024. Último: 153,351 el 15/03/2024. Cambio de la tabla: "
                            "150,000."));
    QCOMPARE(first.rows, QStringList({"12/03/2024 152,368 ", "13/03/2024 151,951 mínimo",
                                      "14/03/2024 152,648 ", "15/03/2024 153,351 máximo"}));
    QCOMPARE(server_.requests.size(), 1);
    // The same day again: from the cache, without the network; the pound lacks a day.
    QCOMPARE(Open("Lib", today_).rows.size(), 3);
    QCOMPARE(server_.requests.size(), 1);
    // A day later the server fails: the chart of the day before, said as such.
    server_.Answer(QStringLiteral("hist.xml"), 500, {});
    const Shown later = Open("USD", dravello::IsoDate(dravello::DayNumber(today_) + 1));
    QCOMPARE(later.note, QStringLiteral("No se ha podido actualizar el histórico: 127.0.0.1 ha "
                                        "respondido con el error HTTP 500. Se muestra el "
                                        "consultado el %1.")
                             .arg(QString::fromStdString(dravello::SpanishDate(today_))));
  }

  void withoutAChartTheWindowSaysWhy() {
    QCOMPARE(Open("XYZ", today_, Answered).text,
             QStringLiteral("La moneda «XYZ» no figura en el histórico de cambios de 127.0.0.1 ni "
                            "entre las monedas anteriores al euro, así que no hay evolución que "
                            "mostrar: su cambio es el que usted escribe."));
    Settings(QStringLiteral("http://www.ecb.europa.eu/h.xml"));
    const int before = server_.requests.size();
    QVERIFY(
        Open("USD", today_, Answered)
            .text.startsWith(QStringLiteral("La dirección de la fuente de cambios no se admite")));
    QCOMPARE(server_.requests.size(), before);
  }
};

QTEST_MAIN(RateChartTest)
#include "RateChartTest.moc"
