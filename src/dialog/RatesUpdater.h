// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QUrl>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "FeedFetch.h"
#include "TMoneda.h"

class FieldEdit;
class QLabel;
class QPushButton;
class QWidget;

// "Actualizar cambios" of the currency dialog: today's rates from a euro reference-rate feed.
//
// Click fetches the feed named by key Fuente of section CAMBIOS of the settings file (the
// European Central Bank's daily feed when the key is missing or empty) and shows progress on
// the status line; the button then reads "Interrumpir", and a second click or Cancel stops the
// fetch. When a good answer arrives, each row whose abbreviation matches a currency of the
// answer or a predecessor of the euro gets its rate in base units, and the status line names
// the answer's day and the rows left without a rate. Any failure (an address that is not
// allowed, no answer, a bad answer, a base currency that matches nothing, a stop) leaves every
// field as it was and is told in a message box. Nothing is written to the settings file here;
// the network is used only on a click (the network module is loaded at the first).
class RatesUpdater : public QObject {
  Q_OBJECT

 public:
  struct Controls {
    QWidget* dialog;
    QPushButton* button;
    QLabel* line;  // the status line
    std::array<FieldEdit*, dravello::kNumeroMonedas> abreviaturas;
    std::array<FieldEdit*, dravello::kNumeroMonedas> cambios;  // [0] unused
  };

  // `ruta_ini`: the settings file; `separador_decimal`: the regional one, for the rates written;
  // `age_line`: what the status line says first of the rates' age (UpdateAgeLine);
  // `startup_days`: the age beyond which start-up updates the rates, 0 when it does not.
  RatesUpdater(Controls controls, std::string ruta_ini, char separador_decimal, QString age_line,
               int startup_days, QObject* parent = nullptr);

  // Told after the rates of a good answer were filled in: their day (YYYY-MM-DD), the host
  // that served them and the rows that got a rate.
  std::function<void(const std::string& date, const std::string& host,
                     const std::array<bool, dravello::kNumeroMonedas>& rows)>
      on_filled;

  void Click();
  bool Running() const;
  // Stops a running fetch, which is then reported as stopped.
  void Cancel();
  // Stops a running fetch without a word (the dialog is closing).
  void Abandon();
  // The longest a fetch may take; 15 s unless set (the tests use less).
  void SetTimeout(std::chrono::milliseconds timeout);

 private:
  // The feed's address as the settings file gives it, and the address it stands for.
  QString FeedText() const;
  void Start();
  void Finish(const dravello::FetchResult& result);
  void Apply(const QByteArray& body);
  void ShowIdle();
  void ShowIdleButton();
  void Fail(const QString& message, bool stopped = false);

  Controls controls_;
  std::string ruta_ini_;
  char separador_decimal_;
  QString age_line_;
  int startup_days_;
  std::chrono::milliseconds timeout_ = dravello::kDefaultFetchTimeout;
  std::unique_ptr<dravello::FeedFetch> fetch_;  // made at the first click
  QUrl url_;
  bool running_ = false;
};
