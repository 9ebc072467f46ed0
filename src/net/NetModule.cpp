// SPDX-License-Identifier: GPL-3.0-or-later
// The network module's entry: the program loads this library, and Qt Network with it, at its
// first fetch (NewFeedFetch).

#include "FeedFetch.h"
#include "RatesFetch.h"

namespace {

// FeedFetch over a RatesFetch.
class ModuleFetch : public dravello::FeedFetch {
 public:
  explicit ModuleFetch(std::chrono::milliseconds timeout) : fetch_(timeout) {
    QObject::connect(&fetch_, &dravello::RatesFetch::progress, [this](qint64 received) {
      if (on_progress) on_progress(received);
    });
    QObject::connect(&fetch_, &dravello::RatesFetch::finished,
                     [this](const dravello::FetchResult& result) {
                       if (on_finished) on_finished(result);
                     });
  }

  void Start(const QUrl& url) override { fetch_.Start(url); }
  void Cancel() override { fetch_.Cancel(); }
  void Abandon() override { fetch_.Abandon(); }
  bool Running() const override { return fetch_.Running(); }

 private:
  dravello::RatesFetch fetch_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) dravello::FeedFetch* dravello_new_feed_fetch(
    long long timeout_ms) {
  return new ModuleFetch(std::chrono::milliseconds(timeout_ms));
}
