// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dravello {

// One answer of a euro reference-rate feed as its XML gives it: the day of the rates and, for
// each currency, its code and its rate (units of the currency per euro) as the texts stand.
struct FeedRate {
  std::string currency;
  std::string rate;
};
struct RatesFeed {
  std::string date;
  std::vector<FeedRate> rates;
};

// The first fault found in a feed, and what it was found in (a date, a code, "CODE=rate").
enum class FeedFault { kNone, kNoRates, kBadDate, kBadCurrency, kRepeatedCurrency, kBadRate };
struct FeedCheck {
  FeedFault fault = FeedFault::kNone;
  std::string culprit;
};

// One day's euro rates, checked: how many units of each currency one euro buys.
class EuroRates {
 public:
  // The range that a rate must lie in. Real currencies lie many orders of magnitude inside it;
  // a rate beyond it is a fault of the feed. Within it every cross rate, a ratio of two, lies
  // between 1e-18 and 1e18: a normal double whose text a rate field holds and reads back.
  static constexpr double kMinUnitsPerEuro = 1e-9;
  static constexpr double kMaxUnitsPerEuro = 1e9;

  // Takes `feed` whole or not at all. The date must be a real day written YYYY-MM-DD; there must
  // be at least one rate; each code three letters (any case), none twice; each rate a number in
  // the feed's notation (digits, "." as the decimal point, an optional exponent) within the
  // range above, and EUR, if listed, exactly 1. On a fault `rates` is left as it was.
  static FeedCheck Read(const RatesFeed& feed, EuroRates& rates);

  // The day of the rates, YYYY-MM-DD.
  const std::string& Date() const { return date_; }
  // Units of the currency with ISO code `code` (capitals) per euro: 1 for EUR; the fixed rate
  // for a predecessor of the euro, whatever the feed says; otherwise the feed's rate, or nothing
  // when the feed does not list the currency.
  std::optional<double> UnitsPerEuro(std::string_view code) const;

 private:
  std::string date_;
  std::map<std::string, double, std::less<>> units_per_euro_;
};

}  // namespace dravello
