// SPDX-License-Identifier: GPL-3.0-or-later
#include "RateChart.h"

#include <QMessageBox>
#include <QUrl>
#include <memory>

#include "Calculadora.h"
#include "FeedAddress.h"
#include "FeedFetch.h"
#include "FeedMessages.h"
#include "HistoryCache.h"
#include "IsoDates.h"
#include "ProgramModule.h"
#include "RateChartView.h"
#include "RateHistory.h"

namespace {

using dravello::FromCp1252;

std::chrono::milliseconds timeout = dravello::kDefaultFetchTimeout;

std::string Utf8(const QString& text) {
  return text.toStdString();
}

// Reads `body` and shows its chart in `view`; false, with the reason in `why`, when the answer
// is of no use.
bool Show(const QByteArray& body, const RateChart::Request& request, const QString& host,
          const std::string& note, dravello::RateChartView& view, QString& why) {
  std::vector<dravello::EuroRates> days;
  why = dravello::ReadHistoryRates(body, host, days);
  if (!why.isEmpty()) return false;
  dravello::RateChartData data;
  const dravello::RateChartRequest chart{request.base, request.moneda, request.cambio,
                                         request.separador_decimal, host.toStdString()};
  switch (dravello::MakeRateChart(days, chart, data)) {
    case dravello::HistoryFault::kNone:
      data.note = note;
      view.ShowChart(data);
      return true;
    case dravello::HistoryFault::kBaseUnknown:
      view.ShowMessage(
          Utf8(QStringLiteral("La moneda base «%1» no figura en el histórico de "
                              "cambios de %2 ni entre las monedas anteriores al "
                              "euro, así que no hay evolución que mostrar.")
                   .arg(FromCp1252(request.base.empty() ? "Pts" : request.base), host)));
      return true;
    case dravello::HistoryFault::kCurrencyUnknown:
      view.ShowMessage(Utf8(QStringLiteral("La moneda «%1» no figura en el histórico de cambios "
                                           "de %2 ni entre las monedas anteriores al euro, así "
                                           "que no hay evolución que mostrar: su cambio es el que "
                                           "usted escribe.")
                                .arg(FromCp1252(request.moneda), host)));
      return true;
  }
  return true;
}

}  // namespace

void RateChart::SetTimeout(std::chrono::milliseconds value) {
  timeout = value;
}

void RateChart::Open(const Request& request, QWidget* parent) {
  std::string error;
  const auto make =
      reinterpret_cast<dravello::NewRateChartViewFunction>(dravello::ProgramModuleSymbol(
          dravello::kChartModule, dravello::kNewRateChartViewSymbol, error));
  if (make == nullptr) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(dravello::kApplicationTitle),
                    QStringLiteral("No se puede mostrar la evolución del cambio: falta el módulo "
                                   "de gráficos del programa (%1).")
                        .arg(QString::fromLocal8Bit(error.c_str())),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
    return;
  }
  const std::unique_ptr<dravello::RateChartView> view(make(parent));
  std::unique_ptr<dravello::FeedFetch> fetch;

  const QString text =
      dravello::ConfiguredAddress(request.ruta_ini, "Historico", dravello::kDefaultHistoryAddress);
  const QUrl url(text, QUrl::StrictMode);
  const QString host = url.host();
  const std::string path = dravello::HistoryCachePath();
  const std::optional<dravello::CachedHistory> cache = dravello::ReadHistoryCache(path);
  const bool cached = cache && cache->address == Utf8(text);
  QString why;

  if (request.moneda.empty()) {
    view->ShowMessage("Esta fila no tiene moneda: escriba primero su abreviatura.");
  } else if (!dravello::FeedUrlAllowed(url)) {
    view->ShowMessage(Utf8(dravello::AddressRefusedText(text, "Historico", request.ruta_ini)));
  } else if (cached && cache->day == request.today &&
             Show(QByteArray::fromStdString(cache->body), request, host, {}, *view, why)) {
    // Fetched today already.
  } else if (!(fetch = dravello::NewFeedFetch(timeout, error))) {
    view->ShowMessage(Utf8(QStringLiteral("No se puede cargar el módulo de red del programa: %1")
                               .arg(QString::fromLocal8Bit(error.c_str()))));
  } else {
    view->ShowMessage(Utf8(
        QStringLiteral("Consultando el histórico de cambios en %1… Esc interrumpe.").arg(host)));
    fetch->on_finished = [&](const dravello::FetchResult& result) {
      QString failure = result.outcome == dravello::FetchOutcome::kOk
                            ? QString()
                            : dravello::FetchFailureText(result, host, timeout);
      if (failure.isEmpty() && Show(result.body, request, host, {}, *view, failure)) {
        dravello::WriteHistoryCache(path, {request.today, Utf8(text), result.body.toStdString()});
        return;
      }
      // What was kept on an earlier day is better than nothing, said as such.
      const std::string note =
          Utf8(QStringLiteral("No se ha podido actualizar el histórico: %1 Se muestra el "
                              "consultado el %2.")
                   .arg(failure, QString::fromStdString(
                                     dravello::SpanishDate(cached ? cache->day : std::string()))));
      QString ignored;
      if (!cached ||
          !Show(QByteArray::fromStdString(cache->body), request, host, note, *view, ignored)) {
        view->ShowMessage(Utf8(failure));
      }
    };
    fetch->Start(url);
  }
  view->Exec();
  if (fetch) fetch->Abandon();
}
