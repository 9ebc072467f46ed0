// SPDX-License-Identifier: GPL-3.0-or-later
#include "EuroRates.h"

#include <utility>

#include "CurrencyCodes.h"
#include "Formato.h"
#include "IsoDates.h"

namespace dravello {

namespace {

// A currency code: three ASCII letters, in capitals.
std::optional<std::string> ReadCode(std::string_view text) {
  if (text.size() != 3) return std::nullopt;
  std::string code;
  for (char c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c < 'A' || c > 'Z') return std::nullopt;
    code.push_back(c);
  }
  return code;
}

// A rate in the feed's notation: digits with at most one ".", an optional exponent. No sign,
// no blanks, no "inf" or "nan", nothing else.
std::optional<double> ReadRate(std::string_view text) {
  for (char c : text) {
    const bool allowed =
        (c >= '0' && c <= '9') || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
    if (!allowed) return std::nullopt;
  }
  if (text.empty() || text.front() == '+' || text.front() == '-') return std::nullopt;
  long double parsed = 0;
  if (ParseExtended(text, '.', parsed) != ParseStatus::kOk) return std::nullopt;
  // Judged as the double it becomes, so that the bounds written as they are hold.
  const double value = static_cast<double>(parsed);
  if (!(value >= EuroRates::kMinUnitsPerEuro && value <= EuroRates::kMaxUnitsPerEuro)) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

FeedCheck EuroRates::Read(const RatesFeed& feed, EuroRates& rates) {
  if (!IsIsoDate(feed.date)) return {FeedFault::kBadDate, feed.date};
  if (feed.rates.empty()) return {FeedFault::kNoRates, {}};
  EuroRates read;
  read.date_ = feed.date;
  for (const FeedRate& entry : feed.rates) {
    const std::optional<std::string> code = ReadCode(entry.currency);
    if (!code) return {FeedFault::kBadCurrency, entry.currency};
    const std::optional<double> rate = ReadRate(entry.rate);
    if (!rate || (*code == "EUR" && *rate != 1)) {
      return {FeedFault::kBadRate, entry.currency + "=" + entry.rate};
    }
    if (!read.units_per_euro_.emplace(*code, *rate).second) {
      return {FeedFault::kRepeatedCurrency, *code};
    }
  }
  rates = std::move(read);
  return {};
}

std::optional<double> EuroRates::UnitsPerEuro(std::string_view code) const {
  if (code == "EUR") return 1.0;
  if (const std::optional<double> fixed = FixedEuroRate(code)) return fixed;
  const auto found = units_per_euro_.find(code);
  if (found == units_per_euro_.end()) return std::nullopt;
  return found->second;
}

}  // namespace dravello
