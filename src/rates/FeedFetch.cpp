// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeedFetch.h"

#include "FeedAddress.h"
#include "ProgramModule.h"

namespace dravello {

bool FeedUrlAllowed(const QUrl& url) {
  if (!url.isValid() || url.isRelative()) return false;
  return FeedAddressAllowed(url.scheme().toStdString(), url.host().toStdString());
}

std::unique_ptr<FeedFetch> NewFeedFetch(std::chrono::milliseconds timeout, std::string& error) {
  const auto make = reinterpret_cast<NewFeedFetchFunction>(
      ProgramModuleSymbol(kNetModule, kNewFeedFetchSymbol, error));
  if (make == nullptr) return nullptr;
  return std::unique_ptr<FeedFetch>(make(timeout.count()));
}

}  // namespace dravello
