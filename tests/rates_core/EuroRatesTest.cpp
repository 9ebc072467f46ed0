// SPDX-License-Identifier: GPL-3.0-or-later
#include "EuroRates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravello {
namespace {

RatesFeed Feed(std::vector<FeedRate> rates, std::string date = "2024-03-15") {
  return RatesFeed{std::move(date), std::move(rates)};
}

TEST(EuroRates, AGoodFeedGivesUnitsPerEuro) {
  EuroRates rates;
  const FeedCheck check = EuroRates::Read(Feed({{"USD", "1.0850"},
                                                {"jpy", "160.25"},
                                                {"GBP", "0.85300"},
                                                {"XAU", "5E-4"},
                                                {"EUR", "1"},
                                                {"DEM", "1.9"}}),
                                          rates);
  ASSERT_EQ(check.fault, FeedFault::kNone) << check.culprit;
  EXPECT_EQ(rates.Date(), "2024-03-15");
  EXPECT_EQ(rates.UnitsPerEuro("USD"), 1.085);
  EXPECT_EQ(rates.UnitsPerEuro("JPY"), 160.25);
  EXPECT_EQ(rates.UnitsPerEuro("GBP"), 0.853);
  EXPECT_EQ(rates.UnitsPerEuro("XAU"), 0.0005);
  EXPECT_EQ(rates.UnitsPerEuro("EUR"), 1.0);
  // A predecessor's fixed rate stands, whatever the feed says; all of them are known.
  EXPECT_EQ(rates.UnitsPerEuro("DEM"), 1.95583);
  EXPECT_EQ(rates.UnitsPerEuro("ESP"), 166.386);
  EXPECT_FALSE(rates.UnitsPerEuro("CHF").has_value());
  EXPECT_FALSE(rates.UnitsPerEuro("usd").has_value());  // codes are asked for in capitals
}

TEST(EuroRates, AnyFaultRejectsTheWholeFeed) {
  const struct {
    RatesFeed feed;
    FeedFault fault;
    const char* culprit;
  } cases[] = {
      {Feed({}), FeedFault::kNoRates, ""},
      // The day.
      {Feed({{"USD", "1.1"}}, ""), FeedFault::kBadDate, ""},
      {Feed({{"USD", "1.1"}}, "2024-02-30"), FeedFault::kBadDate, "2024-02-30"},
      {Feed({{"USD", "1.1"}}, "2023-02-29"), FeedFault::kBadDate, "2023-02-29"},
      {Feed({{"USD", "1.1"}}, "2024-13-01"), FeedFault::kBadDate, "2024-13-01"},
      {Feed({{"USD", "1.1"}}, "2024-1-15"), FeedFault::kBadDate, "2024-1-15"},
      {Feed({{"USD", "1.1"}}, "15/03/2024"), FeedFault::kBadDate, "15/03/2024"},
      {Feed({{"USD", "1.1"}}, "2024-03-15T16:00"), FeedFault::kBadDate, "2024-03-15T16:00"},
      // The codes.
      {Feed({{"US", "1.1"}}), FeedFault::kBadCurrency, "US"},
      {Feed({{"USDX", "1.1"}}), FeedFault::kBadCurrency, "USDX"},
      {Feed({{"U$D", "1.1"}}), FeedFault::kBadCurrency, "U$D"},
      {Feed({{"", "1.1"}}), FeedFault::kBadCurrency, ""},
      {Feed({{"USD", "1.1"}, {"usd", "1.1"}}), FeedFault::kRepeatedCurrency, "USD"},
      // The rates: zero, negative, not finite, absurd, or not in the feed's notation.
      {Feed({{"USD", "1.1"}, {"JPY", "0"}}), FeedFault::kBadRate, "JPY=0"},
      {Feed({{"JPY", "0.0"}}), FeedFault::kBadRate, "JPY=0.0"},
      {Feed({{"JPY", "-160.25"}}), FeedFault::kBadRate, "JPY=-160.25"},
      {Feed({{"JPY", "nan"}}), FeedFault::kBadRate, "JPY=nan"},
      {Feed({{"JPY", "NaN"}}), FeedFault::kBadRate, "JPY=NaN"},
      {Feed({{"JPY", "inf"}}), FeedFault::kBadRate, "JPY=inf"},
      {Feed({{"JPY", "INF"}}), FeedFault::kBadRate, "JPY=INF"},
      {Feed({{"JPY", "1e400"}}), FeedFault::kBadRate, "JPY=1e400"},
      {Feed({{"JPY", "1e-400"}}), FeedFault::kBadRate, "JPY=1e-400"},
      {Feed({{"JPY", "1.000001e9"}}), FeedFault::kBadRate, "JPY=1.000001e9"},
      {Feed({{"JPY", "9.99e-10"}}), FeedFault::kBadRate, "JPY=9.99e-10"},
      {Feed({{"JPY", ""}}), FeedFault::kBadRate, "JPY="},
      {Feed({{"JPY", "abc"}}), FeedFault::kBadRate, "JPY=abc"},
      {Feed({{"JPY", "160,25"}}), FeedFault::kBadRate, "JPY=160,25"},
      {Feed({{"JPY", "1.602.5"}}), FeedFault::kBadRate, "JPY=1.602.5"},
      {Feed({{"JPY", " 160.25"}}), FeedFault::kBadRate, "JPY= 160.25"},
      {Feed({{"JPY", "+160.25"}}), FeedFault::kBadRate, "JPY=+160.25"},
      {Feed({{"JPY", "0x1p7"}}), FeedFault::kBadRate, "JPY=0x1p7"},
      {Feed({{"JPY", "160.25e"}}), FeedFault::kBadRate, "JPY=160.25e"},
      {Feed({{"JPY", "."}}), FeedFault::kBadRate, "JPY=."},
      {Feed({{"EUR", "1.0001"}}), FeedFault::kBadRate, "EUR=1.0001"},
      // A predecessor's rate in the feed is not used, but an absurd one still tells of a fault.
      {Feed({{"DEM", "-1"}}), FeedFault::kBadRate, "DEM=-1"},
  };
  for (const auto& c : cases) {
    EuroRates rates;
    ASSERT_EQ(EuroRates::Read(Feed({{"CHF", "0.95"}}, "2020-01-02"), rates).fault,
              FeedFault::kNone);
    const FeedCheck check = EuroRates::Read(c.feed, rates);
    EXPECT_EQ(check.fault, c.fault) << c.culprit;
    EXPECT_EQ(check.culprit, c.culprit);
    // The rates read before are kept whole.
    EXPECT_EQ(rates.Date(), "2020-01-02") << c.culprit;
    EXPECT_EQ(rates.UnitsPerEuro("CHF"), 0.95) << c.culprit;
  }
}

TEST(EuroRates, TheBoundsOfARateAreAccepted) {
  EuroRates rates;
  ASSERT_EQ(EuroRates::Read(Feed({{"AAA", "1e-9"},
                                  {"BBB", "1000000000"},
                                  {"CCC", "2.5E+3"},
                                  {"DDD", ".5"},
                                  {"EEE", "7."}},
                                 "2000-02-29"),
                            rates)
                .fault,
            FeedFault::kNone);
  EXPECT_EQ(rates.UnitsPerEuro("AAA"), 1e-9);
  EXPECT_EQ(rates.UnitsPerEuro("BBB"), 1e9);
  EXPECT_EQ(rates.UnitsPerEuro("CCC"), 2500.0);
  EXPECT_EQ(rates.UnitsPerEuro("DDD"), 0.5);
  EXPECT_EQ(rates.UnitsPerEuro("EEE"), 7.0);
}

}  // namespace
}  // namespace dravello
