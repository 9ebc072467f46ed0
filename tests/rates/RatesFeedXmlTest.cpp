// SPDX-License-Identifier: GPL-3.0-or-later
// The feed's XML: the published shape is read, everything else is told apart as no XML or
// another shape.

#include <QFile>
#include <QtTest>

#include "RatesFeedXml.h"

using dravello::FeedXmlStatus;
using dravello::RatesFeed;
using dravello::ReadRatesFeedXml;

Q_DECLARE_METATYPE(dravello::FeedXmlStatus)

namespace {

QByteArray Fixture(const char* name = "eurofxref-daily.xml") {
  QFile file(QStringLiteral(DRAVELLO_RATES_FIXTURES "/") + QLatin1String(name));
  if (!file.open(QIODevice::ReadOnly)) qFatal("no fixture feed");
  return file.readAll();
}

// A feed of the published shape around `day`, the dated Cube and what it holds.
QByteArray Envelope(const QByteArray& day) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
         "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
         "<gesmes:subject>Reference rates</gesmes:subject>\n"
         "<Cube>\n" +
         day + "\n</Cube>\n</gesmes:Envelope>\n";
}

const QByteArray kDay =
    "<Cube time='2024-03-15'><Cube currency='USD' rate='1.0850'/>"
    "<Cube currency='JPY' rate='160.25'/></Cube>";

}  // namespace

class RatesFeedXmlTest : public QObject {
  Q_OBJECT

 private slots:
  void thePublishedShapeIsRead() {
    RatesFeed feed;
    QCOMPARE(ReadRatesFeedXml(Fixture(), feed), FeedXmlStatus::kOk);
    QCOMPARE(feed.date, std::string("2024-03-15"));
    QCOMPARE(feed.rates.size(), std::size_t{30});
    QCOMPARE(feed.rates.front().currency, std::string("USD"));
    QCOMPARE(feed.rates.front().rate, std::string("1.0850"));
    QCOMPARE(feed.rates.back().currency, std::string("ZAR"));
    QCOMPARE(feed.rates.back().rate, std::string("20.3966"));
  }

  // The history feed: one dated Cube a day, each of the daily shape.
  void theHistoryIsReadDayByDay() {
    std::vector<RatesFeed> days;
    QCOMPARE(dravello::ReadRatesHistoryXml(Fixture("eurofxref-hist-90d.xml"), days),
             FeedXmlStatus::kOk);
    QCOMPARE(days.size(), std::size_t{4});
    QCOMPARE(days.front().date, std::string("2024-03-15"));
    QCOMPARE(days.back().rates.back().rate, std::string("0.85450"));
    QCOMPARE(dravello::ReadRatesHistoryXml(Envelope(kDay + "<rate/>"), days),
             FeedXmlStatus::kWrongShape);
    QCOMPARE(days.size(), std::size_t{4});  // nothing read on a failure
    RatesFeed feed;
    QCOMPARE(ReadRatesFeedXml(Fixture("eurofxref-hist-90d.xml"), feed), FeedXmlStatus::kWrongShape);
  }

  void answers_data() {
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<FeedXmlStatus>("status");
    QTest::addColumn<int>("rates");  // for kOk

    const auto ok = FeedXmlStatus::kOk;
    const auto not_xml = FeedXmlStatus::kNotXml;
    const auto shape = FeedXmlStatus::kWrongShape;

    // The same shape, written otherwise.
    QTest::newRow("no namespaces")
        << QByteArray("<Envelope><Cube>" + kDay + "</Cube></Envelope>") << ok << 2;
    QTest::newRow("other prefixes")
        << QByteArray(
               "<a:Envelope xmlns:a='urn:a' xmlns:b='urn:b'><b:Cube><b:Cube "
               "time=\"2024-03-15\"><b:Cube currency=\"USD\" rate=\"1.1\"></b:Cube>"
               "</b:Cube></b:Cube></a:Envelope>")
        << ok << 1;
    QTest::newRow("comments and instructions")
        << Envelope("<!-- hoy --><?pi x?>" + kDay + "<!-- fin -->") + "<!-- tras -->" << ok << 2;
    QTest::newRow("character references")
        << Envelope("<Cube time='2024-03-15'><Cube currency='U&#83;D' rate='1&#46;1'/></Cube>")
        << ok << 1;
    QTest::newRow("no rates") << Envelope("<Cube time='2024-03-15'></Cube>") << ok << 0;
    QTest::newRow("an empty dated cube") << Envelope("<Cube time='2024-03-15'/>") << ok << 0;
    QTest::newRow("a byte-order mark") << QByteArray("\xEF\xBB\xBF") + Envelope(kDay) << ok << 2;

    // No XML.
    QTest::newRow("nothing") << QByteArray() << not_xml << 0;
    QTest::newRow("blanks") << QByteArray(" \n") << not_xml << 0;
    QTest::newRow("text") << QByteArray("USD 1.0850\nJPY 160.25\n") << not_xml << 0;
    QTest::newRow("json") << QByteArray("{\"USD\": 1.085}") << not_xml << 0;
    QTest::newRow("html") << QByteArray(
                                 "<!DOCTYPE html><html><head><title>Error</title></head>"
                                 "<body><p>No encontrado<br></body></html>")
                          << not_xml << 0;
    QTest::newRow("cut short") << Fixture().left(900) << not_xml << 0;
    QTest::newRow("binary") << QByteArray("\x00\x01\xFF\xFE<\x80", 6) << not_xml << 0;
    QTest::newRow("undeclared prefix")
        << QByteArray("<gesmes:Envelope><Cube>" + kDay + "</Cube></gesmes:Envelope>") << not_xml
        << 0;
    QTest::newRow("two roots") << Envelope(kDay) + "<Envelope/>" << not_xml << 0;
    QTest::newRow("text after the root") << Envelope(kDay) + "x" << not_xml << 0;
    QTest::newRow("broken after a wrong start")
        << QByteArray("<rates><rate></rates>") << not_xml << 0;

    // Entities that multiply past the reader's limit break the document.
    QTest::newRow("entities that multiply")
        << QByteArray(
               "<!DOCTYPE Envelope [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
               "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
               "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
               "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">"
               "<!ENTITY e \"&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;&d;\">]>"
               "<Envelope><Cube><Cube time='&e;'/></Cube></Envelope>")
        << not_xml << 0;

    // XML of another shape.
    QTest::newRow("another root") << QByteArray("<rates><USD>1.085</USD></rates>") << shape << 0;
    QTest::newRow("no cube") << QByteArray("<Envelope><subject>x</subject></Envelope>") << shape
                             << 0;
    QTest::newRow("two outer cubes")
        << QByteArray("<Envelope><Cube>" + kDay + "</Cube><Cube>" + kDay + "</Cube></Envelope>")
        << shape << 0;
    QTest::newRow("two days")
        << Envelope(kDay + "<Cube time='2024-03-14'><Cube currency='USD' rate='1.08'/></Cube>")
        << shape << 0;
    QTest::newRow("no day") << Envelope("") << shape << 0;
    QTest::newRow("a day without its date")
        << Envelope("<Cube><Cube currency='USD' rate='1.0850'/></Cube>") << shape << 0;
    QTest::newRow("a day with more than its date")
        << Envelope("<Cube time='2024-03-15' source='x'/>") << shape << 0;
    QTest::newRow("rates without a day")
        << Envelope("<Cube currency='USD' rate='1.0850'/>") << shape << 0;
    QTest::newRow("a rate without its rate")
        << Envelope("<Cube time='2024-03-15'><Cube currency='USD'/></Cube>") << shape << 0;
    QTest::newRow("a rate with more")
        << Envelope("<Cube time='2024-03-15'><Cube currency='USD' rate='1' x='2'/></Cube>") << shape
        << 0;
    QTest::newRow("a rate holding a cube")
        << Envelope("<Cube time='2024-03-15'><Cube currency='USD' rate='1'><Cube/></Cube></Cube>")
        << shape << 0;
    QTest::newRow("a rate holding text")
        << Envelope("<Cube time='2024-03-15'><Cube currency='USD' rate='1'>1</Cube></Cube>")
        << shape << 0;
    QTest::newRow("text among the rates")
        << Envelope("<Cube time='2024-03-15'>USD 1<Cube currency='USD' rate='1'/></Cube>") << shape
        << 0;
    QTest::newRow("another element among the rates")
        << Envelope("<Cube time='2024-03-15'><rate currency='USD' rate='1'/></Cube>") << shape << 0;
    QTest::newRow("a document type")
        << QByteArray("<!DOCTYPE Envelope><Envelope><Cube>" + kDay + "</Cube></Envelope>") << shape
        << 0;
  }

  void answers() {
    QFETCH(QByteArray, xml);
    QFETCH(FeedXmlStatus, status);
    QFETCH(int, rates);
    RatesFeed feed{"untouched", {{"X", "1"}}};
    QCOMPARE(ReadRatesFeedXml(xml, feed), status);
    if (status == FeedXmlStatus::kOk) {
      QCOMPARE(feed.date, std::string("2024-03-15"));
      QCOMPARE(int(feed.rates.size()), rates);
      if (rates > 0) QCOMPARE(feed.rates[0].currency, std::string("USD"));
    } else {
      QCOMPARE(feed.date, std::string("untouched"));  // nothing read on a failure
    }
  }
};

QTEST_GUILESS_MAIN(RatesFeedXmlTest)
#include "RatesFeedXmlTest.moc"
