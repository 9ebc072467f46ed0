// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace dravello {

enum class FetchOutcome {
  kOk,                // `body` holds the answer
  kCancelled,         // Cancel
  kTimeout,           // no complete answer within the time allowed
  kHostNotFound,      // the server's name is unknown (no DNS, no network)
  kNoConnection,      // the server cannot be reached or dropped the connection
  kNoTls,             // this computer cannot speak TLS (no TLS backend, no OpenSSL)
  kTlsFailed,         // no secure connection (certificate, handshake)
  kHttpError,         // an answer other than 200; `http_status` says which
  kTooLarge,          // more than the most that is read
  kInsecureRedirect,  // a redirect to anything but HTTPS; `url` is where it pointed
  kTooManyRedirects,
  kOther,  // anything else; `detail` holds the toolkit's description
};

struct FetchResult {
  FetchOutcome outcome = FetchOutcome::kOk;
  QByteArray body;
  int http_status = 0;
  QUrl url;
  QString detail;
};

// One fetch of a feed over HTTP(S), by the network module (src/net, RatesFetch): it never
// blocks the caller, and the result arrives through `on_finished`, exactly once per Start, from
// the event loop, unless the fetch is abandoned. The rules of every fetch (which addresses,
// redirects, size and time limits) are RatesFetch's.
class FeedFetch {
 public:
  virtual ~FeedFetch() = default;

  // Starts fetching `url`, which must be allowed (FeedAddressAllowed); a fetch still running is
  // abandoned first.
  virtual void Start(const QUrl& url) = 0;
  // Stops the running fetch, which then reports kCancelled; nothing without a fetch.
  virtual void Cancel() = 0;
  // Stops the running fetch without reporting anything.
  virtual void Abandon() = 0;
  virtual bool Running() const = 0;

  std::function<void(const FetchResult&)> on_finished;
  std::function<void(qint64 received)> on_progress;
};

// How long a fetch may take unless told otherwise.
inline constexpr std::chrono::milliseconds kDefaultFetchTimeout{15000};

// Whether `url` is an address the program may fetch from (FeedAddressAllowed).
bool FeedUrlAllowed(const QUrl& url);

// A fetch that may take `timeout`, from the network module, which the first call loads (Qt
// Network is loaded with it, and not before). Nothing, with `error` saying why, when the module
// cannot be loaded.
std::unique_ptr<FeedFetch> NewFeedFetch(std::chrono::milliseconds timeout, std::string& error);

// The module's entry: a new fetch, which the caller deletes.
using NewFeedFetchFunction = FeedFetch* (*)(long long timeout_ms);
inline constexpr const char* kNetModule = "dravello-net";
inline constexpr const char* kNewFeedFetchSymbol = "dravello_new_feed_fetch";

}  // namespace dravello
