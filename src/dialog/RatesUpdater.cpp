// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatesUpdater.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <string_view>

#include "Calculadora.h"
#include "EuroRates.h"
#include "FeedAddress.h"
#include "FeedMessages.h"
#include "FieldEdit.h"
#include "FormatoGeneral.h"
#include "IsoDates.h"
#include "RateUpdate.h"

namespace {

using dravello::FromCp1252;

const QString kIdleCaption = QStringLiteral("Act&ualizar cambios");
const QString kRunningCaption = QStringLiteral("Interr&umpir");

}  // namespace

RatesUpdater::RatesUpdater(Controls controls, std::string ruta_ini, char separador_decimal,
                           QString age_line, int startup_days, QObject* parent)
    : QObject(parent),
      controls_(controls),
      ruta_ini_(std::move(ruta_ini)),
      separador_decimal_(separador_decimal),
      age_line_(std::move(age_line)),
      startup_days_(startup_days) {
  ShowIdle();
}

void RatesUpdater::SetTimeout(std::chrono::milliseconds timeout) {
  Abandon();
  timeout_ = timeout;
  fetch_.reset();
}

bool RatesUpdater::Running() const {
  return running_;
}

QString RatesUpdater::FeedText() const {
  return dravello::ConfiguredAddress(ruta_ini_, "Fuente", dravello::kDefaultFeedAddress);
}

void RatesUpdater::ShowIdleButton() {
  controls_.button->setText(kIdleCaption);
  controls_.button->setAccessibleName(QStringLiteral("Actualizar cambios"));
}

void RatesUpdater::ShowIdle() {
  ShowIdleButton();
  const QUrl url(FeedText(), QUrl::StrictMode);
  const QString source = dravello::FeedUrlAllowed(url) ? url.host() : QStringLiteral("la fuente");
  const QString also =
      startup_days_ > 0 ? QStringLiteral(" o al abrir si tienen más de %1 días").arg(startup_days_)
                        : QString();
  QString line = QStringLiteral(
                     "Los cambios del día se piden a %1 solo al pulsar «Actualizar "
                     "cambios»%2.")
                     .arg(source, also);
  if (!age_line_.isEmpty()) line = age_line_ + QLatin1Char(' ') + line;
  controls_.line->setText(line);
}

void RatesUpdater::Click() {
  if (Running()) {
    Cancel();
    return;
  }
  Start();
}

void RatesUpdater::Start() {
  const QString text = FeedText();
  url_ = QUrl(text, QUrl::StrictMode);
  if (!dravello::FeedUrlAllowed(url_)) {
    Fail(dravello::AddressRefusedText(text, "Fuente", ruta_ini_));
    return;
  }
  if (!fetch_) {
    std::string error;
    fetch_ = dravello::NewFeedFetch(timeout_, error);
    if (!fetch_) {
      Fail(QStringLiteral("No se puede cargar el módulo de red del programa: %1")
               .arg(QString::fromLocal8Bit(error.c_str())));
      return;
    }
    fetch_->on_finished = [this](const dravello::FetchResult& result) { Finish(result); };
    fetch_->on_progress = [this](qint64 received) {
      controls_.line->setText(QStringLiteral("Consultando %1… %2 bytes recibidos. Esc "
                                             "interrumpe.")
                                  .arg(url_.host())
                                  .arg(received));
    };
  }
  running_ = true;
  controls_.button->setText(kRunningCaption);
  controls_.button->setAccessibleName(QStringLiteral("Interrumpir"));
  controls_.line->setText(QStringLiteral("Consultando %1… Esc interrumpe.").arg(url_.host()));
  fetch_->Start(url_);
}

void RatesUpdater::Cancel() {
  if (Running()) fetch_->Cancel();
}

void RatesUpdater::Abandon() {
  if (!running_) return;
  fetch_->Abandon();
  running_ = false;
  ShowIdle();
}

void RatesUpdater::Finish(const dravello::FetchResult& result) {
  running_ = false;
  if (result.outcome == dravello::FetchOutcome::kOk) {
    Apply(result.body);
    return;
  }
  Fail(dravello::FetchFailureText(result, url_.host(), timeout_),
       result.outcome == dravello::FetchOutcome::kCancelled);
}

void RatesUpdater::Apply(const QByteArray& body) {
  const QString host = url_.host();
  dravello::EuroRates rates;
  const QString fault = dravello::ReadDailyRates(body, host, rates);
  if (!fault.isEmpty()) {
    Fail(fault);
    return;
  }

  // The abbreviations as they stand now: the user may have typed while the answer came.
  std::array<std::string, dravello::kNumeroMonedas> abreviaturas;
  for (std::size_t n = 0; n < abreviaturas.size(); ++n) {
    abreviaturas[n] = controls_.abreviaturas[n]->FieldText();
  }
  const dravello::RateUpdate update = dravello::ComputeRates(abreviaturas, rates);
  const QString day = QStringLiteral("Cambios del %1 (%2)")
                          .arg(QString::fromStdString(dravello::SpanishDate(rates.Date())), host);
  if (update.base_code.empty()) {
    const std::string base = abreviaturas[0].empty() ? "Pts" : abreviaturas[0];
    Fail(QStringLiteral("La moneda base %1 no figura en los cambios de %2 ni entre las monedas "
                        "anteriores al euro, así que no se puede calcular ningún cambio. "
                        "Escriba como moneda base su código ISO (por ejemplo EUR o USD), o Pts.")
             .arg(QStringLiteral("«%1»").arg(FromCp1252(base)), host));
    return;
  }

  bool any = false;
  std::array<bool, dravello::kNumeroMonedas> filled{};
  for (std::size_t n = 1; n < update.cambio.size(); ++n) {
    if (!update.cambio[n]) continue;
    controls_.cambios[n]->SetFieldText(
        dravello::FormatoGeneral(*update.cambio[n], separador_decimal_));
    filled[n] = any = true;
  }
  if (on_filled) on_filled(rates.Date(), host.toStdString(), filled);
  ShowIdleButton();
  if (!update.unmatched.empty()) {
    QStringList rows;
    for (int n : update.unmatched) {
      rows << QStringLiteral("«%1»").arg(FromCp1252(abreviaturas[static_cast<std::size_t>(n)]));
    }
    controls_.line->setText(
        day + QStringLiteral(". Sin cambio conocido: %1.").arg(rows.join(QStringLiteral(", "))));
  } else if (any) {
    controls_.line->setText(day + QStringLiteral(": todas las monedas actualizadas."));
  } else {
    controls_.line->setText(day + QStringLiteral(": no hay más monedas que la base."));
  }
}

void RatesUpdater::Fail(const QString& message, bool stopped) {
  ShowIdleButton();
  controls_.line->setText(QStringLiteral("No se han actualizado los cambios."));
  QMessageBox box(stopped ? QMessageBox::Information : QMessageBox::Warning,
                  QString::fromLatin1(dravello::kApplicationTitle),
                  message + QStringLiteral("\n\nLos cambios no se han modificado."),
                  QMessageBox::Ok, controls_.dialog);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}
