// SPDX-License-Identifier: GPL-3.0-or-later
// Fetching the feed from a local server started here: every answer the fetch must refuse, the
// time limit, the size limit, redirects and cancelling; and the addresses it accepts.

#include <QSignalSpy>
#include <QtTest>
#include <chrono>

#include "FeedServer.h"
#include "RatesFetch.h"

using dravello::RatesFetch;
using rates_test::FeedServer;
using Outcome = RatesFetch::Outcome;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(dravello::RatesFetch::Result)

namespace {

constexpr auto kShortTimeout = 400ms;

// Starts `fetch` on `url` and waits for its one result.
RatesFetch::Result Fetch(RatesFetch& fetch, const QUrl& url) {
  QSignalSpy finished(&fetch, &RatesFetch::finished);
  fetch.Start(url);
  if (!finished.wait(10000)) qFatal("no result from %s", qPrintable(url.toString()));
  QTest::qWait(20);  // a second result would come now
  if (finished.size() != 1) qFatal("%d results", int(finished.size()));
  if (fetch.Running()) qFatal("still running after its result");
  return finished.first().first().value<RatesFetch::Result>();
}

}  // namespace

class RatesFetchTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qRegisterMetaType<RatesFetch::Result>(); }

  void theFeedArrivesWhole() {
    FeedServer server;
    const QByteArray feed = FeedServer::Fixture(QStringLiteral("eurofxref-daily.xml"));
    server.Answer(QStringLiteral("feed.xml"), 200, feed);
    RatesFetch fetch;
    QSignalSpy progress(&fetch, &RatesFetch::progress);
    const RatesFetch::Result result = Fetch(fetch, server.Url(QStringLiteral("feed.xml")));
    QCOMPARE(result.outcome, Outcome::kOk);
    QCOMPARE(result.body, feed);
    QVERIFY(!progress.isEmpty());
    QCOMPARE(progress.last().first().toLongLong(), qint64(feed.size()));
    // The request says who asks and carries nothing of the user's.
    QCOMPARE(server.requests.size(), 1);
    const QByteArray head = server.requests.first();
    QVERIFY(head.startsWith("GET /feed.xml HTTP/1.1\r\n"));
    QVERIFY(head.contains("\r\nUser-Agent: CalculadoraDravello\r\n"));
    QVERIFY(!head.toLower().contains("cookie"));
  }

  void badAnswers_data() {
    QTest::addColumn<int>("kind");  // FeedServer::Kind; kAnswer uses status, body, headers
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("headers");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<int>("http_status");

    const int answer = int(FeedServer::Kind::kAnswer);
    const QByteArray mib(RatesFetch::kMaxBytes, ' ');
    QTest::newRow("404") << answer << 404 << QByteArray("no") << QByteArray() << Outcome::kHttpError
                         << 404;
    QTest::newRow("500") << answer << 500 << QByteArray() << QByteArray() << Outcome::kHttpError
                         << 500;
    QTest::newRow("204") << answer << 204 << QByteArray() << QByteArray() << Outcome::kHttpError
                         << 204;
    QTest::newRow("a redirect without a target")
        << answer << 302 << QByteArray() << QByteArray() << Outcome::kHttpError << 302;
    QTest::newRow("exactly the limit")
        << answer << 200 << mib << QByteArray() << Outcome::kOk << 200;
    QTest::newRow("one byte over the limit")
        << answer << 200 << mib + ' ' << QByteArray() << Outcome::kTooLarge << 0;
    QTest::newRow("a length over the limit")
        << answer << 200 << QByteArray("<x/>") << QByteArray("Content-Length: 1048577\r\n")
        << Outcome::kTooLarge << 0;
    QTest::newRow("no length, no end") << int(FeedServer::Kind::kEndless) << 0 << QByteArray()
                                       << QByteArray() << Outcome::kTooLarge << 0;
    QTest::newRow("never answers") << int(FeedServer::Kind::kSilent) << 0 << QByteArray()
                                   << QByteArray() << Outcome::kTimeout << 0;
    QTest::newRow("drips for ever") << int(FeedServer::Kind::kDrip) << 0 << QByteArray()
                                    << QByteArray() << Outcome::kTimeout << 0;
    QTest::newRow("hangs up") << int(FeedServer::Kind::kHangUp) << 0 << QByteArray() << QByteArray()
                              << Outcome::kNoConnection << 0;
  }

  void badAnswers() {
    QFETCH(int, kind);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, headers);
    QFETCH(Outcome, outcome);
    QFETCH(int, http_status);
    FeedServer server;
    if (kind == int(FeedServer::Kind::kAnswer)) {
      server.Answer(QStringLiteral("feed.xml"), status, body, headers);
    } else {
      server.Behave(QStringLiteral("feed.xml"), FeedServer::Kind(kind));
    }
    RatesFetch fetch(kShortTimeout);
    const RatesFetch::Result result = Fetch(fetch, server.Url(QStringLiteral("feed.xml")));
    QCOMPARE(result.outcome, outcome);
    if (http_status != 0) QCOMPARE(result.http_status, http_status);
    QCOMPARE(result.body.isEmpty(), outcome != Outcome::kOk);
  }

  void aServerNobodyListensAtCannotBeReached() {
    quint16 port = 0;
    {
      FeedServer gone;
      port = gone.Port();
    }
    RatesFetch fetch(kShortTimeout);
    const RatesFetch::Result result =
        Fetch(fetch, QUrl(QStringLiteral("http://127.0.0.1:%1/feed.xml").arg(port)));
    QCOMPARE(result.outcome, Outcome::kNoConnection);
  }

  void redirectsAreFollowedOnlyToHttps() {
    FeedServer server;
    const QByteArray local = server.Url(QStringLiteral("feed.xml")).toEncoded();
    server.Answer(QStringLiteral("feed.xml"), 200, "<x/>");
    server.Redirect(QStringLiteral("absolute"), local);
    server.Redirect(QStringLiteral("relative"), "/feed.xml", 301);
    server.Redirect(QStringLiteral("other"), "ftp://127.0.0.1/feed.xml", 307);
    for (const char* path : {"absolute", "relative", "other"}) {
      RatesFetch fetch(kShortTimeout);
      const RatesFetch::Result result = Fetch(fetch, server.Url(QString::fromLatin1(path)));
      QVERIFY2(result.outcome == Outcome::kInsecureRedirect, path);
      QVERIFY2(result.url.scheme() != QLatin1String("https"), path);
      QVERIFY2(result.body.isEmpty(), path);
    }
    QCOMPARE(server.requests.size(), 3);  // the plain feed was never asked for

    // To HTTPS it goes on: here the server cannot speak TLS, so the fetch fails there.
    server.Redirect(QStringLiteral("secure"),
                    QStringLiteral("https://127.0.0.1:%1/feed.xml").arg(server.Port()).toLatin1());
    RatesFetch fetch(kShortTimeout);
    const RatesFetch::Result result = Fetch(fetch, server.Url(QStringLiteral("secure")));
    QVERIFY(result.outcome != Outcome::kOk && result.outcome != Outcome::kInsecureRedirect);
    QCOMPARE(server.requests.size(), 5);  // the redirect and the TLS greeting
    QVERIFY(server.requests.last().startsWith('\x16'));
  }

  void cancellingReportsCancelledOnceAndFromTheEventLoop() {
    FeedServer server;
    server.Behave(QStringLiteral("feed.xml"), FeedServer::Kind::kSilent);
    RatesFetch fetch;
    QSignalSpy finished(&fetch, &RatesFetch::finished);
    fetch.Start(server.Url(QStringLiteral("feed.xml")));
    QTRY_COMPARE(server.requests.size(), 1);
    QVERIFY(fetch.Running());
    fetch.Cancel();
    QVERIFY(!fetch.Running());
    QCOMPARE(finished.size(), 0);
    QVERIFY(finished.wait(2000));
    QTest::qWait(20);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().value<RatesFetch::Result>().outcome, Outcome::kCancelled);
    fetch.Cancel();  // nothing running: nothing happens
    QTest::qWait(20);
    QCOMPARE(finished.size(), 1);
  }

  void anAbandonedFetchReportsNothing() {
    FeedServer server;
    server.Behave(QStringLiteral("slow"), FeedServer::Kind::kSilent);
    server.Answer(QStringLiteral("feed.xml"), 200, "<x/>");
    RatesFetch fetch(kShortTimeout);
    QSignalSpy finished(&fetch, &RatesFetch::finished);
    fetch.Start(server.Url(QStringLiteral("slow")));
    QTRY_COMPARE(server.requests.size(), 1);
    fetch.Abandon();
    QTest::qWait(kShortTimeout.count() + 100);
    QCOMPARE(finished.size(), 0);
    // Starting again abandons the fetch still running; only the new one reports.
    fetch.Start(server.Url(QStringLiteral("slow")));
    fetch.Start(server.Url(QStringLiteral("feed.xml")));
    QVERIFY(finished.wait(2000));
    QTest::qWait(kShortTimeout.count() + 100);
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().value<RatesFetch::Result>().outcome, Outcome::kOk);
  }

  void addresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("the default")
        << QStringLiteral("https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml") << true;
    QTest::newRow("https, port, query")
        << QStringLiteral("https://banco.example:8443/c?d=1") << true;
    QTest::newRow("HTTPS in capitals") << QStringLiteral("HTTPS://BANCO.EXAMPLE/c.xml") << true;
    QTest::newRow("http to localhost") << QStringLiteral("http://localhost:8080/c.xml") << true;
    QTest::newRow("http to 127.0.0.1") << QStringLiteral("http://127.0.0.1/c.xml") << true;
    QTest::newRow("http to 127.1.2.3") << QStringLiteral("http://127.1.2.3/c.xml") << true;
    QTest::newRow("http to ::1") << QStringLiteral("http://[::1]:9/c.xml") << true;
    QTest::newRow("http to LOCALHOST") << QStringLiteral("HTTP://LOCALHOST/c.xml") << true;
    QTest::newRow("http elsewhere") << QStringLiteral("http://www.ecb.europa.eu/c.xml") << false;
    QTest::newRow("http to a name like localhost")
        << QStringLiteral("http://localhost.example/c.xml") << false;
    QTest::newRow("http to a name like 127.0.0.1")
        << QStringLiteral("http://127.0.0.1.example/c.xml") << false;
    QTest::newRow("http with localhost as the user")
        << QStringLiteral("http://localhost@banco.example/c.xml") << false;
    QTest::newRow("http to 128.0.0.1") << QStringLiteral("http://128.0.0.1/c.xml") << false;
    QTest::newRow("http to 0.0.0.0") << QStringLiteral("http://0.0.0.0/c.xml") << false;
    QTest::newRow("http to ::") << QStringLiteral("http://[::]/c.xml") << false;
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/c.xml") << false;
    QTest::newRow("a file") << QStringLiteral("file:///etc/passwd") << false;
    QTest::newRow("https without a host") << QStringLiteral("https:///c.xml") << false;
    QTest::newRow("no scheme") << QStringLiteral("www.ecb.europa.eu/c.xml") << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("garbage") << QStringLiteral("ht!tp://\x7f") << false;
  }

  void addresses() {
    QFETCH(QString, address);
    QFETCH(bool, allowed);
    QCOMPARE(RatesFetch::Allowed(QUrl(address, QUrl::StrictMode)), allowed);
  }
};

QTEST_GUILESS_MAIN(RatesFetchTest)
#include "RatesFetchTest.moc"
