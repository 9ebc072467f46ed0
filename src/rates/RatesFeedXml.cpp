// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatesFeedXml.h"

#include <QXmlStreamReader>

namespace dravello {

namespace {

const QString kCube = QStringLiteral("Cube");

class ShapeError {};

// The next token that matters inside an element: a start or an end of an element. Blanks,
// comments and processing instructions are passed over; other text is another shape.
QXmlStreamReader::TokenType Next(QXmlStreamReader& xml) {
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::StartElement:
      case QXmlStreamReader::EndElement:
        return xml.tokenType();
      case QXmlStreamReader::Characters:
        if (!xml.isWhitespace()) throw ShapeError();
        break;
      case QXmlStreamReader::Comment:
      case QXmlStreamReader::ProcessingInstruction:
        break;
      case QXmlStreamReader::Invalid:
        return QXmlStreamReader::Invalid;
      default:
        throw ShapeError();  // a DTD, an entity reference, the document's end
    }
  }
  return QXmlStreamReader::Invalid;
}

bool Ended(QXmlStreamReader::TokenType token) {
  return token == QXmlStreamReader::EndElement;
}

// The dated Cube's children; false when the document is cut short or broken.
bool ReadRates(QXmlStreamReader& xml, RatesFeed& feed) {
  while (true) {
    const QXmlStreamReader::TokenType token = Next(xml);
    if (token == QXmlStreamReader::Invalid) return false;
    if (Ended(token)) return true;
    if (xml.name() != kCube) throw ShapeError();
    const QXmlStreamAttributes attributes = xml.attributes();
    if (attributes.size() != 2 || !attributes.hasAttribute(QStringLiteral("currency")) ||
        !attributes.hasAttribute(QStringLiteral("rate"))) {
      throw ShapeError();
    }
    feed.rates.push_back({attributes.value(QStringLiteral("currency")).toString().toStdString(),
                          attributes.value(QStringLiteral("rate")).toString().toStdString()});
    const QXmlStreamReader::TokenType end = Next(xml);
    if (end == QXmlStreamReader::Invalid) return false;
    if (!Ended(end)) throw ShapeError();  // a rate holds no element
  }
}

// Inside the outer Cube: one dated Cube, or one or more when `many`.
bool ReadDays(QXmlStreamReader& xml, std::vector<RatesFeed>& days, bool many) {
  while (true) {
    const QXmlStreamReader::TokenType token = Next(xml);
    if (token == QXmlStreamReader::Invalid) return false;
    if (Ended(token)) {
      if (days.empty()) throw ShapeError();
      return true;
    }
    if ((!many && !days.empty()) || xml.name() != kCube) throw ShapeError();
    const QXmlStreamAttributes attributes = xml.attributes();
    if (attributes.size() != 1 || !attributes.hasAttribute(QStringLiteral("time"))) {
      throw ShapeError();
    }
    RatesFeed& feed = days.emplace_back();
    feed.date = attributes.value(QStringLiteral("time")).toString().toStdString();
    if (!ReadRates(xml, feed)) return false;
  }
}

// Inside the envelope: one outer Cube among any other elements.
bool ReadEnvelope(QXmlStreamReader& xml, std::vector<RatesFeed>& days, bool many) {
  bool cube = false;
  while (true) {
    const QXmlStreamReader::TokenType token = Next(xml);
    if (token == QXmlStreamReader::Invalid) return false;
    if (Ended(token)) {
      if (!cube) throw ShapeError();
      return true;
    }
    if (xml.name() != kCube) {
      xml.skipCurrentElement();
      if (xml.hasError()) return false;
      continue;
    }
    if (cube || !xml.attributes().isEmpty()) throw ShapeError();
    cube = true;
    if (!ReadDays(xml, days, many)) return false;
  }
}

FeedXmlStatus ReadFeedXml(const QByteArray& bytes, std::vector<RatesFeed>& days, bool many) {
  QXmlStreamReader xml(bytes);
  std::vector<RatesFeed> read;
  bool shape_error = false;
  try {
    // The prolog, then the envelope.
    while (!xml.atEnd() && !xml.isStartElement()) {
      switch (xml.readNext()) {
        case QXmlStreamReader::StartDocument:
        case QXmlStreamReader::Comment:
        case QXmlStreamReader::ProcessingInstruction:
        case QXmlStreamReader::StartElement:
        case QXmlStreamReader::Invalid:
          break;
        case QXmlStreamReader::Characters:
          if (!xml.isWhitespace()) throw ShapeError();
          break;
        default:
          throw ShapeError();  // a document type declaration above all
      }
    }
    if (xml.isStartElement()) {
      if (xml.name() != QLatin1String("Envelope")) throw ShapeError();
      ReadEnvelope(xml, read, many);
    }
  } catch (const ShapeError&) {
    shape_error = true;
  }
  // A document broken anywhere is no XML, even where its start looked like another shape; so the
  // rest is read through before the shape is judged. After the envelope the reader itself allows
  // only comments, processing instructions and blanks.
  while (!xml.atEnd()) xml.readNext();
  if (xml.hasError()) return FeedXmlStatus::kNotXml;
  if (shape_error) return FeedXmlStatus::kWrongShape;
  days = std::move(read);
  return FeedXmlStatus::kOk;
}

}  // namespace

FeedXmlStatus ReadRatesFeedXml(const QByteArray& bytes, RatesFeed& feed) {
  std::vector<RatesFeed> days;
  const FeedXmlStatus status = ReadFeedXml(bytes, days, false);
  if (status == FeedXmlStatus::kOk) feed = std::move(days.front());
  return status;
}

FeedXmlStatus ReadRatesHistoryXml(const QByteArray& bytes, std::vector<RatesFeed>& days) {
  return ReadFeedXml(bytes, days, true);
}

}  // namespace dravello
