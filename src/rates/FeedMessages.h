// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <vector>

#include "EuroRates.h"
#include "FeedFetch.h"

namespace dravello {

// What the user is told of a fetch and of what it brought, in Spanish, for the message boxes
// and notes of the rates feeds. `host` is the server's name as the address gives it.

// Why a fetch that did not end kOk brought nothing; `timeout` is the time it was allowed.
QString FetchFailureText(const FetchResult& result, const QString& host,
                         std::chrono::milliseconds timeout);

// An address in the settings file that may not be fetched: `key` of section CAMBIOS of the file
// at `settings` (Windows-1252 path) holds `address`.
QString AddressRefusedText(const QString& address, const char* key, const std::string& settings);

// Reads one day's rates from the answer of a daily feed into `rates`. Empty on success;
// otherwise why the answer is of no use, and `rates` as it was.
QString ReadDailyRates(const QByteArray& body, const QString& host, EuroRates& rates);

// Reads the days of a history feed into `days` (oldest first). Empty on success; otherwise why,
// and `days` as it was.
QString ReadHistoryRates(const QByteArray& body, const QString& host, std::vector<EuroRates>& days);

// The address that `key` of section CAMBIOS of the settings file at `settings` gives, trimmed;
// `fallback` when the key is missing or empty.
QString ConfiguredAddress(const std::string& settings, const char* key, std::string_view fallback);

// A Windows-1252 text of the settings file or of a field as Unicode.
QString FromCp1252(std::string_view text);

}  // namespace dravello
