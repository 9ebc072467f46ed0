// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatesStamp.h"

#include <gtest/gtest.h>

#include "IsoDates.h"
#include "PrivateProfile.h"

namespace dravello {
namespace {

const RateOrigin kEcb{"2026-12-07", "www.ecb.europa.eu"};

TEST(IsoDates, ReadAndWriteRealDaysOnly) {
  for (const char* bad : {"2026-02-29", "2026-13-01", "2026-1-01", "07/12/2026", ""}) {
    EXPECT_EQ(SpanishDate(bad), "") << bad;
  }
  EXPECT_TRUE(IsIsoDate("2024-02-29"));
  EXPECT_EQ(SpanishDate("2026-12-07"), "07/12/2026");
  EXPECT_EQ(DayNumber("2024-03-01") - DayNumber("2024-02-28"), 2);
  EXPECT_EQ(IsoDate(DayNumber("2026-12-07") + 25), "2027-01-01");
}

// The keys of section CAMBIOS read back as written; keys a file never had are not added.
TEST(RatesStamp, KeepsItsKeysAndAddsNoneThatAreAtTheirDefaults) {
  PrivateProfile untouched("[MONEDAS]\r\nMoneda1=USD\r\n");
  RatesStamp().WriteTo(untouched);
  EXPECT_EQ(untouched.Text(), "[MONEDAS]\r\nMoneda1=USD\r\n");

  RatesStamp stamp;
  stamp.update = stamp.rows[2] = kEcb;
  stamp.update_at_start = true;
  stamp.max_age_days = 30;
  PrivateProfile ini;
  stamp.WriteTo(ini);
  const RatesStamp read = RatesStamp::Read(ini);
  EXPECT_EQ(read.update, kEcb);
  EXPECT_EQ(read.rows[2], kEcb);
  EXPECT_FALSE(read.rows[1].FromFeed());
  EXPECT_TRUE(read.update_at_start);
  EXPECT_EQ(read.max_age_days, 30);

  // A rate typed by hand clears its row's keys, which stay in the file, empty.
  stamp.rows[2] = {};
  stamp.WriteTo(ini);
  EXPECT_EQ(ini.Get("CAMBIOS", "Fecha2", "missing"), "");

  const PrivateProfile garbage(
      "[CAMBIOS]\nFecha=2026-02-30\nOrigen=x\nFecha1=hoy\nActualizarAlAbrir=si\nDias=0\n");
  const RatesStamp fallback = RatesStamp::Read(garbage);
  EXPECT_FALSE(fallback.update.FromFeed());
  EXPECT_FALSE(fallback.rows[1].FromFeed());
  EXPECT_FALSE(fallback.update_at_start);
  EXPECT_EQ(fallback.max_age_days, RatesStamp::kDefaultMaxAgeDays);
}

TEST(RatesStamp, SaysHowOldTheRatesAreAndWhenStartUpFetches) {
  RatesStamp stamp;
  stamp.rows[1] = stamp.update = kEcb;
  stamp.rows[2] = {"2026-12-07", "127.0.0.1"};
  const struct {
    int row;
    const char* today;
    const char* note;
  } notes[] = {
      {0, "2026-12-08", "Moneda base: su cambio es siempre 1"},
      {1, "2026-12-14", "Cambio del 07/12/2026 (BCE)"},  // 7 days: within the limit
      {1, "2026-12-16",
       "Cambio del 07/12/2026 (BCE), hace 9 d\xED"
       "as"},
      {2, "2026-12-08", "Cambio del 07/12/2026 (127.0.0.1)"},
      {3, "2026-12-08", "Cambio introducido a mano"},
  };
  for (const auto& n : notes) EXPECT_EQ(RateNote(stamp, n.row, n.today), n.note) << n.today;

  EXPECT_EQ(UpdateAgeLine(stamp, "2026-12-07"), "Cambios del 07/12/2026 (BCE), de hoy.");
  EXPECT_EQ(UpdateAgeLine(stamp, "2026-12-16"),
            "Cambios del 07/12/2026 (BCE), de hace 9 d\xED"
            "as.");
  EXPECT_EQ(UpdateAgeLine(RatesStamp(), "2026-12-16"), "Cambios introducidos a mano.");

  EXPECT_FALSE(stamp.NeedsStartupUpdate("2026-12-30"));  // not asked for
  stamp.update_at_start = true;
  EXPECT_FALSE(stamp.NeedsStartupUpdate("2026-12-14"));
  EXPECT_TRUE(stamp.NeedsStartupUpdate("2026-12-15"));
  stamp.update = {};
  EXPECT_TRUE(stamp.NeedsStartupUpdate("2026-12-08"));  // never updated
}

TEST(RatesStamp, NamesWhereEachActiveRateCameFrom) {
  TTablaMonedas tabla{};
  const char* monedas[] = {"Pts", "USD", "Lib", "XYZ", "", "CHF", "Yen"};
  for (std::size_t n = 0; n < tabla.size(); ++n) tabla[n].Moneda = monedas[n];
  RatesStamp stamp;
  EXPECT_EQ(RatesSourceLine(stamp, TTablaMonedas{}), "");
  EXPECT_EQ(RatesSourceLine(stamp, tabla), "Cambios introducidos a mano");
  stamp.update = stamp.rows[1] = stamp.rows[2] = stamp.rows[6] = kEcb;
  stamp.rows[4] = kEcb;  // an inactive row does not count
  stamp.rows[3] = {};
  stamp.rows[5] = {"2026-11-30", "www.ecb.europa.eu"};
  EXPECT_EQ(RatesSourceLine(stamp, tabla),
            "Cambios del 07/12/2026 (BCE); CHF, del 30/11/2026 (BCE); XYZ, introducido a mano");
  stamp.rows[5] = stamp.rows[6] = {};
  EXPECT_EQ(RatesSourceLine(stamp, tabla),
            "Cambios del 07/12/2026 (BCE); XYZ, CHF y Yen, introducidos a mano");
}

}  // namespace
}  // namespace dravello
