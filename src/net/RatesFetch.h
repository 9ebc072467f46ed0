// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUrl>
#include <chrono>

#include "FeedFetch.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace dravello {

// One fetch of a rates feed over HTTP(S) with Qt Network, on the event loop (the network
// module's FeedFetch is one of these): it never blocks the caller, and the result arrives through
// `finished`, always exactly once per Start, from the event loop (never from inside Start or
// Cancel), unless the fetch is abandoned.
//
// The answer's body is taken only from an HTTP 200 answer of at most kMaxBytes; a redirect is
// followed only to HTTPS (FeedRedirectAllowed), at most kMaxRedirects times; the whole fetch,
// redirects included, may last `timeout`. Nothing is cached and no cookie is kept or sent.
class RatesFetch : public QObject {
  Q_OBJECT

 public:
  static constexpr qint64 kMaxBytes = 1024 * 1024;
  static constexpr int kMaxRedirects = 5;
  static constexpr std::chrono::milliseconds kDefaultTimeout = kDefaultFetchTimeout;

  using Outcome = FetchOutcome;
  using Result = FetchResult;

  explicit RatesFetch(std::chrono::milliseconds timeout = kDefaultTimeout,
                      QObject* parent = nullptr);
  ~RatesFetch() override;

  // Whether `url` is an address the program may fetch rates from (FeedAddressAllowed).
  static bool Allowed(const QUrl& url);

  // Starts fetching `url`, which must be Allowed; a fetch still running is abandoned first.
  void Start(const QUrl& url);
  // Stops the running fetch; `finished` then reports kCancelled. Nothing without a fetch.
  void Cancel();
  // Stops the running fetch without reporting anything.
  void Abandon();
  bool Running() const { return reply_ != nullptr; }

 signals:
  // Bytes of the answer received so far.
  void progress(qint64 received);
  void finished(const dravello::RatesFetch::Result& result);

 private:
  void OnMetaData();
  void OnReadyRead();
  void OnRedirected(const QUrl& url);
  void OnFinished();
  // Ends the fetch with `outcome`, whatever the reply says.
  void Stop(Outcome outcome, const QUrl& url = {});
  Result ResultOfReply() const;
  void Report(const Result& result);

  std::chrono::milliseconds timeout_;
  QNetworkAccessManager* manager_ = nullptr;  // made at the first fetch
  QNetworkReply* reply_ = nullptr;            // the running fetch
  QTimer timer_;
  QByteArray body_;
  bool stopped_ = false;
  unsigned run_ = 0;
  Result stop_result_;
};

}  // namespace dravello
