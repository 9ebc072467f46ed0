// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeedMessages.h"

#include <QStringList>
#include <algorithm>

#include "Cp1252.h"
#include "PrivateProfile.h"
#include "RatesFeedXml.h"

namespace dravello {

namespace {

// A text from the answer, shown in a message: short, on one line.
QString Quoted(const std::string& text) {
  QString shown = QString::fromUtf8(text.data(), qsizetype(text.size())).simplified();
  if (shown.size() > 40) shown = shown.left(40) + QStringLiteral("…");
  return QStringLiteral("«%1»").arg(shown);
}

QString FeedFaultText(const FeedCheck& check, const QString& host) {
  const QString from = QStringLiteral("La respuesta de %1 ").arg(host);
  switch (check.fault) {
    case FeedFault::kNoRates:
      return from + QStringLiteral("no trae ningún cambio.");
    case FeedFault::kBadDate:
      return from + QStringLiteral("trae una fecha no válida: %1.").arg(Quoted(check.culprit));
    case FeedFault::kBadCurrency:
      return from +
             QStringLiteral("trae un código de moneda no válido: %1.").arg(Quoted(check.culprit));
    case FeedFault::kRepeatedCurrency:
      return from + QStringLiteral("trae dos veces la moneda %1.").arg(Quoted(check.culprit));
    case FeedFault::kBadRate: {
      const std::size_t equals = check.culprit.find('=');
      return from + QStringLiteral("trae un cambio no válido para %1: %2.")
                        .arg(Quoted(check.culprit.substr(0, equals)),
                             Quoted(check.culprit.substr(equals + 1)));
    }
    case FeedFault::kNone:
      break;
  }
  return {};
}

QString XmlFaultText(FeedXmlStatus status, const QString& host) {
  if (status == FeedXmlStatus::kNotXml) {
    return QStringLiteral("La respuesta de %1 no es un documento XML.").arg(host);
  }
  return QStringLiteral(
             "La respuesta de %1 no tiene la forma de los cambios de referencia "
             "del euro.")
      .arg(host);
}

}  // namespace

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(Cp1252ToUtf8(text));
}

QString ConfiguredAddress(const std::string& settings, const char* key, std::string_view fallback) {
  const QString address = FromCp1252(ReadProfileString(settings, "CAMBIOS", key, "")).trimmed();
  if (address.isEmpty()) return QString::fromLatin1(fallback.data(), qsizetype(fallback.size()));
  return address;
}

QString FetchFailureText(const FetchResult& result, const QString& host,
                         std::chrono::milliseconds timeout) {
  switch (result.outcome) {
    case FetchOutcome::kOk:
      break;
    case FetchOutcome::kCancelled:
      return QStringLiteral("Se ha interrumpido la consulta de los cambios.");
    case FetchOutcome::kTimeout: {
      const auto seconds = (timeout.count() + 999) / 1000;
      return QStringLiteral("%1 no ha respondido en %2 %3.")
          .arg(host)
          .arg(seconds)
          .arg(seconds == 1 ? QStringLiteral("segundo") : QStringLiteral("segundos"));
    }
    case FetchOutcome::kHostNotFound:
      return QStringLiteral("No se encuentra el servidor %1. Compruebe la conexión a la red.")
          .arg(host);
    case FetchOutcome::kNoConnection:
      return QStringLiteral("No se puede conectar con %1. Compruebe la conexión a la red.")
          .arg(host);
    case FetchOutcome::kNoTls:
      return QStringLiteral(
          "Este ordenador no puede abrir conexiones seguras (https): falta el soporte TLS de Qt "
          "(OpenSSL).");
    case FetchOutcome::kTlsFailed:
      return QStringLiteral("No se puede establecer una conexión segura con %1.").arg(host);
    case FetchOutcome::kHttpError:
      if (result.http_status == 404) {
        return QStringLiteral("%1 no tiene la fuente de cambios pedida (error HTTP 404).")
            .arg(host);
      }
      return QStringLiteral("%1 ha respondido con el error HTTP %2.")
          .arg(host)
          .arg(result.http_status);
    case FetchOutcome::kTooLarge:
      return QStringLiteral("La respuesta de %1 supera el tamaño máximo admitido (1 MiB).")
          .arg(host);
    case FetchOutcome::kInsecureRedirect:
      return QStringLiteral("%1 redirige a una dirección que no es https, y no se ha seguido:\n%2")
          .arg(host, result.url.toDisplayString());
    case FetchOutcome::kTooManyRedirects:
      return QStringLiteral("%1 redirige demasiadas veces.").arg(host);
    case FetchOutcome::kOther:
      return QStringLiteral("No se han podido obtener los cambios de %1 (%2).")
          .arg(host, result.detail);
  }
  return {};
}

QString AddressRefusedText(const QString& address, const char* key, const std::string& settings) {
  return QStringLiteral(
             "La dirección de la fuente de cambios no se admite:\n%1\n\nSolo se "
             "admiten direcciones https:// y, hacia este mismo ordenador, "
             "http://. La dirección es la clave %2 de la sección [CAMBIOS] de %3.")
      .arg(address, QString::fromLatin1(key), FromCp1252(settings));
}

QString ReadDailyRates(const QByteArray& body, const QString& host, EuroRates& rates) {
  RatesFeed feed;
  const FeedXmlStatus status = ReadRatesFeedXml(body, feed);
  if (status != FeedXmlStatus::kOk) return XmlFaultText(status, host);
  return FeedFaultText(EuroRates::Read(feed, rates), host);
}

QString ReadHistoryRates(const QByteArray& body, const QString& host,
                         std::vector<EuroRates>& days) {
  std::vector<RatesFeed> feeds;
  const FeedXmlStatus status = ReadRatesHistoryXml(body, feeds);
  if (status != FeedXmlStatus::kOk) return XmlFaultText(status, host);
  std::vector<EuroRates> read(feeds.size());
  for (std::size_t i = 0; i < feeds.size(); ++i) {
    const QString fault = FeedFaultText(EuroRates::Read(feeds[i], read[i]), host);
    if (!fault.isEmpty()) return fault;
  }
  std::sort(read.begin(), read.end(),
            [](const EuroRates& a, const EuroRates& b) { return a.Date() < b.Date(); });
  for (std::size_t i = 1; i < read.size(); ++i) {
    if (read[i].Date() == read[i - 1].Date()) {
      return QStringLiteral("La respuesta de %1 trae dos veces el día %2.")
          .arg(host, QString::fromStdString(read[i].Date()));
    }
  }
  days = std::move(read);
  return {};
}

}  // namespace dravello
