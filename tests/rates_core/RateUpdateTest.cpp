// SPDX-License-Identifier: GPL-3.0-or-later
#include "RateUpdate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CamposMonedas.h"
#include "FormatoGeneral.h"
#include "TestFiles.h"

namespace dravello {
namespace {

// Made-up rates of one day, units per euro.
EuroRates Day() {
  EuroRates rates;
  const RatesFeed feed{"2024-03-15",
                       {{"USD", "1.0850"},
                        {"JPY", "160.25"},
                        {"GBP", "0.85300"},
                        {"CHF", "0.9420"},
                        {"AAA", "1e-9"},
                        {"ZZZ", "1e9"}}};
  if (EuroRates::Read(feed, rates).fault != FeedFault::kNone) std::abort();
  return rates;
}

std::array<std::string, kNumeroMonedas> Rows(std::vector<std::string> rows) {
  std::array<std::string, kNumeroMonedas> out;
  for (std::size_t i = 0; i < rows.size(); ++i) out[i] = rows[i];
  return out;
}

// Each row's rate as the dialog writes it, "," as the decimal separator; "-" for no rate.
std::vector<std::string> Texts(const RateUpdate& update) {
  std::vector<std::string> texts;
  for (int n = 1; n < kNumeroMonedas; ++n) {
    const auto& cambio = update.cambio[static_cast<std::size_t>(n)];
    texts.push_back(cambio ? FormatoGeneral(*cambio, ',') : "-");
  }
  return texts;
}

// Expected values worked out by hand to 40 digits and rounded to 15 significant digits.
TEST(ComputeRates, CrossRatesThroughTheEuro) {
  const struct {
    std::vector<std::string> rows;  // base first
    std::vector<std::string> texts;
  } cases[] = {
      // Base in euros: a row's rate is one over its units per euro.
      {{"EUR", "USD", "Yen", "\xA3", "Pts", "dem", "ITL"},
       {"0,921658986175115", "0,0062402496099844", "1,17233294255569", "0,00601012104383782",
        "0,511291881196218", "0,000516456899089486"}},
      // Base in pesetas: 166.386 pesetas a euro.
      {{"Pts", "USD", "JPY", "GBP", "EUR", "DEM", "IEP"},
       {"153,351152073733", "1,03829017160686", "195,05978898007", "166,386", "85,071810944714",
        "211,266639917518"}},
      // An empty base abbreviation is "Pts", as in the currency table.
      {{"", "CHF", "ITL", "Pts", "", "", ""},
       {"176,630573248408", "0,0859311976119033", "1", "-", "-", "-"}},
      // Base in dollars.
      {{"Dol", "EUR", "Pts", "JPY", "GBP", "DEM", "CHF"},
       {"1,085", "0,00652098133256404", "0,00677067082683307", "1,27198124267292",
        "0,554751691097897", "1,15180467091295"}},
      // The widest rates a feed may give stay within what a rate field holds.
      {{"ZZZ", "AAA", "ZZZ", "EUR", "", "", ""}, {"1E18", "1", "1000000000", "-", "-", "-"}},
      {{"AAA", "ZZZ", "EUR", "", "", "", ""}, {"1E-18", "1E-9", "-", "-", "-", "-"}},
  };
  const EuroRates day = Day();
  for (const auto& c : cases) {
    const RateUpdate update = ComputeRates(Rows(c.rows), day);
    EXPECT_FALSE(update.base_code.empty()) << c.rows[0];
    EXPECT_EQ(Texts(update), c.texts) << "base " << c.rows[0];
    EXPECT_TRUE(update.unmatched.empty()) << c.rows[0];
  }
}

TEST(ComputeRates, UnmatchedRowsAreListedAndKeepNoRate) {
  const RateUpdate update =
      ComputeRates(Rows({"Eur", "USD", "XYZ", "", "Euro", "  ", "Libras"}), Day());
  EXPECT_EQ(update.base_code, "EUR");
  // "Libras" is cut to "Libra", as the currency table cuts it; blanks are an abbreviation that
  // matches nothing; an empty row is an inactive one.
  EXPECT_EQ(Texts(update), (std::vector<std::string>{"0,921658986175115", "-", "-", "-", "-",
                                                     "1,17233294255569"}));
  EXPECT_EQ(update.unmatched, (std::vector<int>{2, 4, 5}));
}

TEST(ComputeRates, ABaseThatMatchesNothingChangesNoRow) {
  for (const char* base : {"XYZ", "Euro", "$$", "Bs"}) {
    const RateUpdate update = ComputeRates(Rows({base, "USD", "EUR", "Pts"}), Day());
    EXPECT_EQ(update.base_code, "") << base;
    EXPECT_EQ(Texts(update), (std::vector<std::string>(6, "-"))) << base;
    EXPECT_TRUE(update.unmatched.empty()) << base;
  }
}

// A rate's text goes through the dialog's fields into the settings file and back into the
// currency table: the table holds the number the text shows, under either regional separator.
TEST(ComputeRates, TheTextOfEveryRateReadsBackFromTheSettingsFile) {
  const EuroRates day = Day();
  const std::vector<std::string> codes = {"EUR", "Pts", "USD", "JPY", "GBP", "CHF", "DEM",
                                          "ITL", "IEP", "AAA", "ZZZ", "GRD", "MTL"};
  for (const char separator : {',', '.'}) {
    for (const std::string& base : codes) {
      testing::TempFolder folder;
      const std::string ini = folder.File("calcu.INI");
      std::array<std::string, kNumeroMonedas> rows{base};
      for (std::size_t first = 0; first < codes.size(); first += 6) {
        for (std::size_t i = 0; i < 6; ++i) rows[i + 1] = codes[(first + i) % codes.size()];
        const RateUpdate update = ComputeRates(rows, day);
        CamposMonedas campos(ini, separator);
        for (int n = 1; n < kNumeroMonedas; ++n) {
          campos.EditMoneda(n) = rows[static_cast<std::size_t>(n)];
          campos.EditCambio(n) =
              FormatoGeneral(*update.cambio[static_cast<std::size_t>(n)], separator);
        }
        campos.GrabaIni();
        CamposMonedas leidos(ini, separator);
        leidos.LeeIni();
        TTablaMonedas tabla{};
        leidos.AplicaMonedas(tabla);
        for (int n = 1; n < kNumeroMonedas; ++n) {
          const std::size_t i = static_cast<std::size_t>(n);
          const double cambio = *update.cambio[i];
          EXPECT_EQ(FormatoGeneral(tabla[i].Cambio, separator), campos.EditCambio(n))
              << base << " " << rows[i];
          EXPECT_LE(std::fabs(tabla[i].Cambio / cambio - 1), 5e-15) << base << " " << rows[i];
        }
      }
    }
  }
}

}  // namespace
}  // namespace dravello
