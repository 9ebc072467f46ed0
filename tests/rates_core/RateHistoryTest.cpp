// SPDX-License-Identifier: GPL-3.0-or-later
#include "RateHistory.h"

#include <gtest/gtest.h>

#include "HistoryCache.h"
#include "IsoDates.h"
#include "RateUpdate.h"
#include "TestFiles.h"

namespace dravello {
namespace {

EuroRates Day(const std::string& date, const std::string& usd, bool with_gbp = true) {
  RatesFeed feed{date, {{"USD", usd}}};
  if (with_gbp) feed.rates.push_back({"GBP", "0.85"});
  EuroRates rates;
  EXPECT_EQ(EuroRates::Read(feed, rates).fault, FeedFault::kNone);
  return rates;
}

// Three days out of order, one without the pound: dollars in pesetas through the euro.
const std::vector<EuroRates> kDays = {Day("2026-12-07", "1.10"), Day("2026-12-03", "1.00"),
                                      Day("2026-12-04", "1.25", false)};

TEST(RateHistory, TheDaysBecomePointsWithTheirExtremesAndTheTableRateMarked) {
  RateChartData data;
  ASSERT_EQ(MakeRateChart(kDays, {"Pts", "Dol", 150.0, ',', "www.ecb.europa.eu"}, data),
            HistoryFault::kNone);
  ASSERT_EQ(data.points.size(), 3u);
  EXPECT_EQ(data.lowest, 1u);  // 166.386 / 1.25
  EXPECT_EQ(data.title, "Evolución del cambio: 1 Dol en Pts");
  EXPECT_EQ(data.summary,
            "1 Dol en Pts del 03/12/2026 al 07/12/2026, 3 días con cambio publicado (BCE). "
            "Mínimo: 133,109 el 04/12/2026. Máximo: 166,386 el 03/12/2026. Último: 151,260 el "
            "07/12/2026. Cambio de la tabla: 150,000.");
  // The value axis holds every point, in steps of 1, 2 or 5 written in the regional notation.
  EXPECT_LE(data.low, 133.109);
  EXPECT_GE(data.high, 166.386);
  ASSERT_GE(data.value_ticks.size(), 3u);
  EXPECT_EQ(data.value_ticks[0].label, "130");
  EXPECT_EQ(data.day_ticks.front().label, "03/12");
  EXPECT_EQ(data.day_ticks.back().label, "07/12");

  // A predecessor of the euro follows from its fixed rate: marks in pesetas never move.
  ASSERT_EQ(MakeRateChart(kDays, {"", "DEM", {}, '.', "x"}, data), HistoryFault::kNone);
  EXPECT_EQ(data.points[0].value_text, "85.0718");
  // A currency of the user's own has no points, nor a base that no day knows.
  EXPECT_EQ(MakeRateChart(kDays, {"Pts", "XYZ", {}, ',', "x"}, data),
            HistoryFault::kCurrencyUnknown);
  EXPECT_EQ(MakeRateChart(kDays, {"ABC", "USD", {}, ',', "x"}, data), HistoryFault::kBaseUnknown);
  EXPECT_EQ(data.points.size(), 3u);  // untouched by a fault
}

TEST(RateHistory, TheCacheKeepsTheDayTheAddressAndTheAnswer) {
  testing::TempFolder folder;
  const std::string path = folder.File("sub/historico-cambios.cache");
  EXPECT_FALSE(ReadHistoryCache(path));
  ASSERT_TRUE(WriteHistoryCache(path, {"2026-12-08", "https://x/h.xml", "<a>\n\n</a>"}));
  const std::optional<CachedHistory> read = ReadHistoryCache(path);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->day, "2026-12-08");
  EXPECT_EQ(read->address, "https://x/h.xml");
  EXPECT_EQ(read->body, "<a>\n\n</a>");
  for (const char* damaged : {"", "Consultado=ayer\nDireccion=a\n\nx", "Direccion=a\n\nx",
                              "Consultado=2026-12-08\nDireccion=a\nx"}) {
    testing::WriteBytes(path, damaged);
    EXPECT_FALSE(ReadHistoryCache(path)) << damaged;
  }
}

TEST(RateHistory, AnUpdateOfTheFieldsStampsTheRowsItFilled) {
  CamposMonedas campos("", ',');
  campos.LeeIni();
  campos.EditMoneda(1) = "USD";
  campos.EditMoneda(2) = "XYZ";
  campos.EditCambio(2) = "3";
  const RateUpdate update = UpdateCampos(campos, kDays[0], "www.ecb.europa.eu");
  EXPECT_EQ(update.base_code, "ESP");
  EXPECT_EQ(campos.EditCambio(1), "151,26");
  EXPECT_EQ(campos.EditCambio(2), "3");
  const RateOrigin ecb{"2026-12-07", "www.ecb.europa.eu"};
  EXPECT_EQ(campos.Stamp().rows[1], ecb);
  EXPECT_FALSE(campos.Stamp().rows[2].FromFeed());
  EXPECT_EQ(campos.Stamp().update, ecb);

  campos.EditMoneda(0) = "ABC";  // a base nobody knows changes nothing
  campos.Stamp() = RatesStamp();
  EXPECT_EQ(UpdateCampos(campos, kDays[0], "x").base_code, "");
  EXPECT_FALSE(campos.Stamp().update.FromFeed());
}

}  // namespace
}  // namespace dravello
