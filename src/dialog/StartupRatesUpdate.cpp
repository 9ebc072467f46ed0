// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartupRatesUpdate.h"

#include <QUrl>

#include "FeedAddress.h"
#include "FeedMessages.h"

namespace {

std::chrono::milliseconds timeout = dravello::kDefaultFetchTimeout;

}  // namespace

void StartupRatesUpdate::SetTimeout(std::chrono::milliseconds value) {
  timeout = value;
}

StartupRatesUpdate::StartupRatesUpdate(std::string ruta_ini,
                                       std::function<void(const Result&)> done)
    : ruta_ini_(std::move(ruta_ini)), done_(std::move(done)) {}

StartupRatesUpdate::~StartupRatesUpdate() {
  if (fetch_) fetch_->Abandon();
}

void StartupRatesUpdate::Start() {
  const QString text =
      dravello::ConfiguredAddress(ruta_ini_, "Fuente", dravello::kDefaultFeedAddress);
  const QUrl url(text, QUrl::StrictMode);
  host_ = url.host();
  if (!dravello::FeedUrlAllowed(url)) {
    Report({dravello::AddressRefusedText(text, "Fuente", ruta_ini_), {}, {}});
    return;
  }
  std::string error;
  fetch_ = dravello::NewFeedFetch(timeout, error);
  if (!fetch_) {
    Report({QStringLiteral("No se puede cargar el módulo de red del programa: %1")
                .arg(QString::fromLocal8Bit(error.c_str())),
            {},
            {}});
    return;
  }
  fetch_->on_finished = [this](const dravello::FetchResult& result) { Finish(result); };
  fetch_->Start(url);
}

void StartupRatesUpdate::Finish(const dravello::FetchResult& result) {
  Result outcome{{}, {}, host_.toStdString()};
  if (result.outcome != dravello::FetchOutcome::kOk) {
    outcome.failure = dravello::FetchFailureText(result, host_, timeout);
  } else {
    outcome.failure = dravello::ReadDailyRates(result.body, host_, outcome.rates);
  }
  done_(outcome);
}

void StartupRatesUpdate::Report(Result result) {
  // From the event loop, as a fetch's result; dropped with this object.
  QMetaObject::invokeMethod(
      this, [this, result = std::move(result)] { done_(result); }, Qt::QueuedConnection);
}
