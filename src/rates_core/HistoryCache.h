// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace dravello {

// The last answer of the history feed, kept in the user's cache folder so that the chart opens
// without the network again the same day: the day it was fetched (YYYY-MM-DD), the address it
// came from and the answer itself. The file is small text:
//
//   Consultado=2026-12-08
//   Direccion=https://...
//   <an empty line, then the answer's bytes>
struct CachedHistory {
  std::string day;
  std::string address;
  std::string body;
};

// $XDG_CACHE_HOME/CalculadoraDravello/historico-cambios.cache, with ~/.cache when the variable
// is unset, empty or not an absolute path; empty when there is no home folder either.
std::string HistoryCachePath();

// The cache at `path`; nothing when it is missing, unreadable, larger than 4 MiB or not of the
// shape above.
std::optional<CachedHistory> ReadHistoryCache(const std::string& path);

// Replaces the cache at `path` in one step, making its folder when missing; false when it
// cannot (the chart is shown all the same).
bool WriteHistoryCache(const std::string& path, const CachedHistory& cache);

}  // namespace dravello
