// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "EuroRates.h"
#include "FeedFetch.h"

// The update of the rates at start-up that the user asked for in the currency dialog: the feed
// of "Actualizar cambios" (key Fuente of section CAMBIOS), fetched in the background with the
// same rules, and read and checked as that button does. It applies nothing itself: the window
// applies good rates as the dialog's acceptance would (UpdateCampos, then the new table).
class StartupRatesUpdate : public QObject {
 public:
  struct Result {
    QString failure;  // empty when the rates are good; otherwise why there are none
    dravello::EuroRates rates;
    std::string host;
  };

  // `ruta_ini`: the settings file; `done` is told the result once, from the event loop.
  StartupRatesUpdate(std::string ruta_ini, std::function<void(const Result&)> done);
  ~StartupRatesUpdate() override;

  // Starts the fetch; the network module is loaded here.
  void Start();
  // The host being asked, once started.
  const QString& Host() const { return host_; }

  // The longest a fetch may take: 15 s unless set (the tests use less).
  static void SetTimeout(std::chrono::milliseconds timeout);

 private:
  void Finish(const dravello::FetchResult& result);
  void Report(Result result);

  std::string ruta_ini_;
  std::function<void(const Result&)> done_;
  std::unique_ptr<dravello::FeedFetch> fetch_;
  QString host_;
};
