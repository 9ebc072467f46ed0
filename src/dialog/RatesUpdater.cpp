// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatesUpdater.h"

#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <string_view>

#include "Calculadora.h"
#include "Cp1252.h"
#include "EuroRates.h"
#include "FeedAddress.h"
#include "FieldEdit.h"
#include "FormatoGeneral.h"
#include "PrivateProfile.h"
#include "RateUpdate.h"
#include "RatesFeedXml.h"

namespace {

using dravello::RatesFetch;
using Outcome = RatesFetch::Outcome;

const QString kIdleCaption = QStringLiteral("Act&ualizar cambios");
const QString kRunningCaption = QStringLiteral("Interr&umpir");

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(dravello::Cp1252ToUtf8(text));
}

// A text from the answer, shown in a message: short, on one line.
QString Quoted(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), qsizetype(text.size())).simplified();
  if (shown.size() > 40) shown = shown.left(40) + QStringLiteral("…");
  return QStringLiteral("«%1»").arg(shown);
}

// YYYY-MM-DD as a Spanish reader writes a date.
QString SpanishDate(const std::string& date) {
  const QString iso = QString::fromStdString(date);
  return iso.mid(8, 2) + QLatin1Char('/') + iso.mid(5, 2) + QLatin1Char('/') + iso.left(4);
}

QString FeedFaultText(const dravello::FeedCheck& check, const QString& host) {
  const QString from = QStringLiteral("La respuesta de %1 ").arg(host);
  switch (check.fault) {
    case dravello::FeedFault::kNoRates:
      return from + QStringLiteral("no trae ningún cambio.");
    case dravello::FeedFault::kBadDate:
      return from + QStringLiteral("trae una fecha no válida: %1.").arg(Quoted(check.culprit));
    case dravello::FeedFault::kBadCurrency:
      return from +
             QStringLiteral("trae un código de moneda no válido: %1.").arg(Quoted(check.culprit));
    case dravello::FeedFault::kRepeatedCurrency:
      return from + QStringLiteral("trae dos veces la moneda %1.").arg(Quoted(check.culprit));
    case dravello::FeedFault::kBadRate: {
      const std::size_t equals = check.culprit.find('=');
      return from + QStringLiteral("trae un cambio no válido para %1: %2.")
                        .arg(Quoted(check.culprit.substr(0, equals)),
                             Quoted(check.culprit.substr(equals + 1)));
    }
    case dravello::FeedFault::kNone:
      break;
  }
  return {};
}

}  // namespace

RatesUpdater::RatesUpdater(Controls controls, std::string ruta_ini, char separador_decimal,
                           QObject* parent)
    : QObject(parent),
      controls_(controls),
      ruta_ini_(std::move(ruta_ini)),
      separador_decimal_(separador_decimal) {
  ShowIdle();
}

void RatesUpdater::SetTimeout(std::chrono::milliseconds timeout) {
  Abandon();
  timeout_ = timeout;
  delete fetch_;
  fetch_ = nullptr;
}

bool RatesUpdater::Running() const {
  return running_;
}

QString RatesUpdater::FeedText() const {
  const std::string text = dravello::ReadProfileString(ruta_ini_, "CAMBIOS", "Fuente", "");
  const QString address = FromCp1252(text).trimmed();
  if (address.isEmpty()) return QString::fromLatin1(dravello::kDefaultFeedAddress.data());
  return address;
}

void RatesUpdater::ShowIdleButton() {
  controls_.button->setText(kIdleCaption);
  controls_.button->setAccessibleName(QStringLiteral("Actualizar cambios"));
}

void RatesUpdater::ShowIdle() {
  ShowIdleButton();
  const QUrl url(FeedText(), QUrl::StrictMode);
  const QString source = RatesFetch::Allowed(url) ? url.host() : QStringLiteral("la fuente");
  controls_.line->setText(QStringLiteral("Los cambios del día se piden a %1 solo al pulsar "
                                         "«Actualizar cambios».")
                              .arg(source));
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
  if (!RatesFetch::Allowed(url_)) {
    Fail(QStringLiteral("La dirección de la fuente de cambios no se admite:\n%1\n\nSolo se "
                        "admiten direcciones https:// y, hacia este mismo ordenador, "
                        "http://. La dirección es la clave Fuente de la sección [CAMBIOS] de "
                        "%2.")
             .arg(text, FromCp1252(ruta_ini_)));
    return;
  }
  if (fetch_ == nullptr) {
    fetch_ = new RatesFetch(timeout_, this);
    connect(fetch_, &RatesFetch::finished, this, &RatesUpdater::Finish);
    connect(fetch_, &RatesFetch::progress, this, [this](qint64 received) {
      controls_.line->setText(QStringLiteral("Consultando %1… %2 bytes recibidos. Esc "
                                             "interrumpe.")
                                  .arg(url_.host())
                                  .arg(received));
    });
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

void RatesUpdater::Finish(const RatesFetch::Result& result) {
  running_ = false;
  const QString host = url_.host();
  switch (result.outcome) {
    case Outcome::kOk:
      Apply(result.body);
      return;
    case Outcome::kCancelled:
      Fail(QStringLiteral("Se ha interrumpido la consulta de los cambios."), true);
      return;
    case Outcome::kTimeout: {
      const auto seconds = (timeout_.count() + 999) / 1000;
      Fail(QStringLiteral("%1 no ha respondido en %2 %3.")
               .arg(host)
               .arg(seconds)
               .arg(seconds == 1 ? QStringLiteral("segundo") : QStringLiteral("segundos")));
      return;
    }
    case Outcome::kHostNotFound:
      Fail(QStringLiteral("No se encuentra el servidor %1. Compruebe la conexión a la red.")
               .arg(host));
      return;
    case Outcome::kNoConnection:
      Fail(
          QStringLiteral("No se puede conectar con %1. Compruebe la conexión a la red.").arg(host));
      return;
    case Outcome::kNoTls:
      Fail(
          QStringLiteral("Este ordenador no puede abrir conexiones seguras (https): falta el "
                         "soporte TLS de Qt (OpenSSL)."));
      return;
    case Outcome::kTlsFailed:
      Fail(QStringLiteral("No se puede establecer una conexión segura con %1.").arg(host));
      return;
    case Outcome::kHttpError:
      if (result.http_status == 404) {
        Fail(QStringLiteral("%1 no tiene la fuente de cambios pedida (error HTTP 404).").arg(host));
      } else {
        Fail(QStringLiteral("%1 ha respondido con el error HTTP %2.")
                 .arg(host)
                 .arg(result.http_status));
      }
      return;
    case Outcome::kTooLarge:
      Fail(
          QStringLiteral("La respuesta de %1 supera el tamaño máximo admitido (1 MiB).").arg(host));
      return;
    case Outcome::kInsecureRedirect:
      Fail(QStringLiteral("%1 redirige a una dirección que no es https, y no se ha seguido:\n%2")
               .arg(host, result.url.toDisplayString()));
      return;
    case Outcome::kTooManyRedirects:
      Fail(QStringLiteral("%1 redirige demasiadas veces.").arg(host));
      return;
    case Outcome::kOther:
      Fail(QStringLiteral("No se han podido obtener los cambios de %1 (%2).")
               .arg(host, result.detail));
      return;
  }
}

void RatesUpdater::Apply(const QByteArray& body) {
  const QString host = url_.host();
  dravello::RatesFeed feed;
  switch (dravello::ReadRatesFeedXml(body, feed)) {
    case dravello::FeedXmlStatus::kNotXml:
      Fail(QStringLiteral("La respuesta de %1 no es un documento XML.").arg(host));
      return;
    case dravello::FeedXmlStatus::kWrongShape:
      Fail(QStringLiteral("La respuesta de %1 no tiene la forma de los cambios de referencia "
                          "del euro.")
               .arg(host));
      return;
    case dravello::FeedXmlStatus::kOk:
      break;
  }
  dravello::EuroRates rates;
  const dravello::FeedCheck check = dravello::EuroRates::Read(feed, rates);
  if (check.fault != dravello::FeedFault::kNone) {
    Fail(FeedFaultText(check, host));
    return;
  }

  // The abbreviations as they stand now: the user may have typed while the answer came.
  std::array<std::string, dravello::kNumeroMonedas> abreviaturas;
  for (std::size_t n = 0; n < abreviaturas.size(); ++n) {
    abreviaturas[n] = controls_.abreviaturas[n]->FieldText();
  }
  const dravello::RateUpdate update = dravello::ComputeRates(abreviaturas, rates);
  const QString day = QStringLiteral("Cambios del %1 (%2)").arg(SpanishDate(rates.Date()), host);
  if (update.base_code.empty()) {
    const std::string base = abreviaturas[0].empty() ? "Pts" : abreviaturas[0];
    Fail(QStringLiteral("La moneda base %1 no figura en los cambios de %2 ni entre las monedas "
                        "anteriores al euro, así que no se puede calcular ningún cambio. "
                        "Escriba como moneda base su código ISO (por ejemplo EUR o USD), o Pts.")
             .arg(QStringLiteral("«%1»").arg(FromCp1252(base)), host));
    return;
  }

  bool any = false;
  for (std::size_t n = 1; n < update.cambio.size(); ++n) {
    if (!update.cambio[n]) continue;
    controls_.cambios[n]->SetFieldText(
        dravello::FormatoGeneral(*update.cambio[n], separador_decimal_));
    any = true;
  }
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
