// SPDX-License-Identifier: GPL-3.0-or-later
#include "Monedas.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "NullView.h"
#include "TestFiles.h"

namespace dravello {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

const std::string kOverflowBox = "box: Error|Desbordamiento en operaci\xF3n de cambio de monedas";

// Keeps what the currency logic shows, and the list lines and boxes in the order they came.
class CurrencyView : public NullView {
 public:
  struct Button {
    std::string caption;
    bool enabled = false;
  };

  void SetPanel1(const std::string& c) override { panel1 = c; }
  void SetMemoryPanel(int m, const std::string& c, WinColor) override {
    memory_panels.at(static_cast<std::size_t>(m)) = c;
  }
  void SetPanel5(const std::string&, WinColor, const std::string& hint) override {
    panel5_hint = hint;
  }
  void AppendListLine(const std::string& line) override { events.push_back("list: " + line); }
  void ShowMessage(MessageKind, const std::string& caption, const std::string& text) override {
    events.push_back("box: " + caption + "|" + text);
  }
  void SetPanelMoneda(const std::string& c) override { panel_moneda = c; }
  void SetStaticText2(const std::string& c) override { static_text2 = c; }
  void SetPanelDeci(const std::string& c) override { panel_deci = c; }
  void SetPanelEqui(const std::string& c) override { panel_equi = c; }
  void SetCurrencyButton(int tag, const std::string& c, bool enabled) override {
    buttons.at(static_cast<std::size_t>(tag)) = {c, enabled};
  }
  void SetAmountCell(int slot, const std::string& text) override {
    amounts.at(static_cast<std::size_t>(slot)) = text;
    events.push_back("cell " + std::to_string(slot) + ": " + text);
  }
  void SetAbbreviationCell(int slot, const std::string& text) override {
    abbreviations.at(static_cast<std::size_t>(slot)) = text;
  }

  // The events of one kind ("list: ", "box: ", "cell "), in order.
  std::vector<std::string> Only(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& e : events) {
      if (e.rfind(prefix, 0) == 0) out.push_back(e);
    }
    return out;
  }
  // The strip: abbreviation|decimals|rate|caption above the rate.
  std::string Strip() const {
    return panel_moneda + "|" + panel_deci + "|" + panel_equi + "|" + static_text2;
  }
  std::string Cell(int slot) const {
    return amounts.at(static_cast<std::size_t>(slot)) + "|" +
           abbreviations.at(static_cast<std::size_t>(slot));
  }

  std::string panel1, panel5_hint, panel_moneda, static_text2, panel_deci, panel_equi;
  std::array<std::string, 3> memory_panels;
  std::array<Button, 7> buttons;
  std::array<std::string, 7> amounts, abbreviations;
  std::vector<std::string> events;
};

// Pesetas and euros: the base "Pts" without decimals, "Eur" at 166.386 with 2, and
// two entries for overflows: "Mil" worth 0.001 base units and "Kilo" worth 1000.
const char* const kTabla =
    "[MONEDAS]\r\nMoneda0=Pts\r\nDecimales0=0\r\n"
    "Moneda1=Eur\r\nDecimales1=2\r\nCambio1=166.386\r\n"
    "Moneda2=Mil\r\nDecimales2=1\r\nCambio2=0,001\r\n"
    "Moneda4=Kilo\r\nDecimales4=3\r\nCambio4=1000\r\n";

class MonedasTest : public ::testing::Test {
 protected:
  explicit MonedasTest(const std::string& ini = kTabla)
      : ini_(folder_.File("calcu.INI")),
        calc_(view_, Separators{',', '.'}),
        monedas_(calc_, view_, ini_) {
    WriteBytes(ini_, ini);
    monedas_.IniciaCalculadora();
    view_.events.clear();
  }

  void Keys(const std::string& keys) {
    for (char k : keys) RunCommand(view_, [&] { calc_.ProcesaTecla(k); });
  }
  // Sets the display value directly, as a recall or paste would.
  void Display(std::int64_t count) { calc_.PoneDisplay(Currency{count}); }
  const EstadoCalculadora& E() const { return calc_.Estado(); }

  TempFolder folder_;
  std::string ini_;
  CurrencyView view_;
  Calculadora calc_;
  Monedas monedas_;
};

TEST(Monedas, WithoutASettingsFileTheBaseIsPtsAndTheOtherButtonsAreOff) {
  CurrencyView view;
  Calculadora calc(view, Separators{',', '.'});
  Monedas monedas(calc, view, "/nonexistent/calcu.INI");
  monedas.IniciaCalculadora();
  EXPECT_EQ(view.Strip(), "Pts|2|1|Cambio en Pts");
  EXPECT_EQ(view.panel1, "0,00");
  EXPECT_EQ(view.memory_panels[0], "M(a)-> 0,00");
  EXPECT_EQ(view.buttons[0].caption, "Pts");
  EXPECT_TRUE(view.buttons[0].enabled);
  for (std::size_t n = 1; n <= 6; ++n) {
    EXPECT_EQ(view.buttons[n].caption, "") << n;
    EXPECT_FALSE(view.buttons[n].enabled) << n;
  }
  // The panel opens last: the start-up's display changes do not fill it.
  EXPECT_TRUE(monedas.CambiosAbiertos());
  EXPECT_TRUE(view.Only("cell ").empty());
  EXPECT_TRUE(view.Only("list: ").empty());
  EXPECT_EQ(monedas.MonedaActual(), 0);
}

TEST_F(MonedasTest, StartUpLabelsTheButtonsAndTheStripFromTheFile) {
  EXPECT_EQ(view_.Strip(), "Pts|0|1|Cambio en Pts");
  EXPECT_EQ(view_.panel1, "0");
  const std::string captions[7] = {"Pts", "Eur", "Mil", "", "Kilo", "", ""};
  for (std::size_t n = 0; n < 7; ++n) {
    EXPECT_EQ(view_.buttons[n].caption, captions[n]) << n;
    EXPECT_EQ(view_.buttons[n].enabled, n == 0 || !captions[n].empty()) << n;
  }
}

TEST_F(MonedasTest, PtsToEurAndBack) {
  Keys("1000");
  monedas_.SpeedButton0Click(1);
  EXPECT_EQ(view_.Only("list: "),
            (std::vector<std::string>{"list: (1.000 Pts)", "list: ---> Cambio a Moneda (Eur)",
                                      "list: (6,01 Eur)"}));
  EXPECT_EQ(E().Numeros[kDisplayRegister].count, 60101);
  EXPECT_EQ(view_.panel1, "6,01");
  EXPECT_EQ(view_.Strip(), "Eur|2|166,386|Cambio en Pts");
  EXPECT_EQ(monedas_.MonedaActual(), 1);
  EXPECT_FALSE(E().HayOperacion);
  EXPECT_TRUE(E().NuevaEntrada);

  view_.events.clear();
  monedas_.SpeedButton0Click(0);
  EXPECT_EQ(view_.Only("list: "),
            (std::vector<std::string>{"list: (6,01 Eur)", "list: ---> Cambio a Moneda (Pts)",
                                      "list: (1.000 Pts)"}));
  EXPECT_EQ(E().Numeros[kDisplayRegister].count,
            9999965);  // 999.9965: not the amount it started from
  EXPECT_EQ(view_.panel1, "1.000");
  EXPECT_EQ(view_.Strip(), "Pts|0|1|Cambio en Pts");
}

TEST_F(MonedasTest, ASwitchConvertsTheMemoriesButNotTheAccumulator) {
  Keys("1000A2000B3000C4000T5000");
  calc_.Estado().Numeros[kAccumulator] = Currency{77770000};
  monedas_.SpeedButton0Click(1);
  EXPECT_EQ(E().MemoriaA.count, 60101);
  EXPECT_EQ(E().MemoriaB.count, 120202);
  EXPECT_EQ(E().MemoriaC.count, 180304);
  EXPECT_EQ(E().MemoriaAux.count, 240405);
  EXPECT_EQ(E().Numeros[kAccumulator].count, 77770000);
  // The memory panels and the accumulating memory's hint show the new currency's decimals.
  EXPECT_EQ(view_.memory_panels[0], "M(a)-> 6,01");
  EXPECT_EQ(view_.memory_panels[2], "M(c)-> 18,03");
  EXPECT_EQ(view_.panel5_hint, "24,04");
}

// Only the switch refused while an operator is pending says so (the window beeps).
TEST_F(MonedasTest, ClicksThatDoNothing) {
  const struct {
    const char* what;
    const char* keys;
    int tag;
    bool refused;
  } cases[] = {
      {"the current currency", "5", 0, false},     {"an operator pending", "5+", 1, true},
      {"an inactive entry", "5", 3, false},        {"a tag below the buttons", "5", -1, false},
      {"a tag beyond the buttons", "5", 7, false}, {"pending, current", "5+", 0, true},
  };
  for (const auto& c : cases) {
    Keys("L");
    Keys(c.keys);
    view_.events.clear();
    const EstadoCalculadora before = E();
    EXPECT_EQ(monedas_.SpeedButton0Click(c.tag), !c.refused) << c.what;
    EXPECT_TRUE(view_.events.empty()) << c.what;
    EXPECT_EQ(monedas_.MonedaActual(), 0) << c.what;
    EXPECT_EQ(E().Numeros[kDisplayRegister], before.Numeros[kDisplayRegister]) << c.what;
    EXPECT_EQ(E().HayOperacion, before.HayOperacion) << c.what;
  }
}

TEST_F(MonedasTest, ASwitchThatWouldOverflowChangesNothing) {
  // 10^12 base units are 10^19 ten-thousandths of "Mil": beyond any amount.
  const struct {
    const char* what;
    std::int64_t display, memory_b;
  } cases[] = {
      {"the display", 10000000000000000LL, 0},
      {"a memory", 10000, 10000000000000000LL},
  };
  for (const auto& c : cases) {
    calc_.Estado().MemoriaB = Currency{c.memory_b};
    Display(c.display);
    view_.events.clear();
    monedas_.SpeedButton0Click(2);
    EXPECT_EQ(view_.Only("box: "), std::vector<std::string>{kOverflowBox}) << c.what;
    EXPECT_TRUE(view_.Only("list: ").empty()) << c.what;
    EXPECT_EQ(monedas_.MonedaActual(), 0) << c.what;
    EXPECT_EQ(E().Numeros[kDisplayRegister].count, c.display) << c.what;
    EXPECT_EQ(E().MemoriaB.count, c.memory_b) << c.what;
    EXPECT_EQ(view_.Strip(), "Pts|0|1|Cambio en Pts") << c.what;
    EXPECT_EQ(calc_.Decimales(), 0) << c.what;
  }
}

TEST_F(MonedasTest, ConvierteMonedaGoesThroughTheBaseRoundingEachStep) {
  const struct {
    int origen, destino;
    std::int64_t importe;
    std::optional<std::int64_t> expected;
  } cases[] = {
      {0, 1, 10000000, 60101},
      {1, 0, 60101, 9999965},
      {1, 4, 60101, 10000},  // 999.9965 Pts, then / 1000 rounded to 1.0000
      {4, 2, 1, 1000000},    // 0.0001 Kilo = 0.1 Pts = 100 Mil
      {2, 0, 4, 0},          // 0.004 counts round to 0
      {2, 0, 15000, 15},     // 1.5 Mil = 0.0015 Pts
      {0, 4, 500, 0},        // 0.5 counts: ties to even
      {0, 4, 1500, 2},       // 1.5 counts
      {0, 4, 2500, 2},       // 2.5 counts
      {0, 4, -2500, -2},
      {0, 0, INT64_MIN, INT64_MIN},                     // the same entry: unchanged
      {0, 2, 922337203685477LL, 922337203685476981LL},  // the double 0.001 is a bit more
      {0, 2, 10000000000000000LL, std::nullopt},        // target step beyond the range
      {4, 0, 100000000000000000LL, std::nullopt},       // base step beyond the range
      {4, 2, 10000000000000LL, std::nullopt},           // 10^13 Pts fit, 10^16 Mil do not
  };
  for (const auto& c : cases) {
    const auto got = monedas_.ConvierteMoneda(c.origen, c.destino, Currency{c.importe});
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.origen << "->" << c.destino;
    if (got) {
      EXPECT_EQ(got->count, *c.expected) << c.origen << "->" << c.destino;
    }
  }
}

TEST_F(MonedasTest, EquivalencesShowEveryOtherActiveCurrency) {
  Keys("1000");
  EXPECT_EQ(view_.Cell(1), "6,01|Eur");
  EXPECT_EQ(view_.Cell(2), "1.000.000,0|Mil");
  EXPECT_EQ(view_.Cell(3), "|");
  EXPECT_EQ(view_.Cell(4), "1,000|Kilo");
  EXPECT_EQ(view_.Cell(5), "|");

  // In "Eur" the base takes slot 1.
  monedas_.SpeedButton0Click(1);
  EXPECT_EQ(view_.Cell(1), "1.000|Pts");
  EXPECT_EQ(view_.Cell(2), "999.996,5|Mil");
  EXPECT_EQ(view_.Cell(4), "1,000|Kilo");
}

TEST_F(MonedasTest, AClosedPanelIsNotRefreshedAndOpeningItIs) {
  monedas_.SetCambiosAbiertos(false);
  Keys("25");
  EXPECT_TRUE(view_.Only("cell ").empty());
  monedas_.SetCambiosAbiertos(true);
  monedas_.ActualizaEquivalencias();
  EXPECT_EQ(view_.Cell(1), "0,15|Eur");
}

// The refresh follows every display change: a box there would come at every key and swallow the
// keys typed while it is up. The cell says it all.
TEST_F(MonedasTest, AnOverflowingCellSaysSoWithoutAMessage) {
  Display(10000000000000000LL);  // 10^12 Pts: too many "Mil"
  EXPECT_EQ(view_.Cell(2), "Desbordado|Mil");
  EXPECT_EQ(view_.Cell(1), "6.010.121.043,84|Eur");
  calc_.PoneDisplay(E().Numeros[kDisplayRegister]);
  EXPECT_TRUE(view_.Only("box: ").empty());
}

TEST(Monedas, TwelveDecimalsFromTheFileAreShownAndHugeCountsAreCut) {
  TempFolder folder;
  const std::string ini = folder.File("calcu.INI");
  WriteBytes(ini, "[MONEDAS]\nDecimales0=12\nMoneda1=Big\nDecimales1=2147483647\n");
  CurrencyView view;
  Calculadora calc(view, Separators{',', '.'});
  Monedas monedas(calc, view, ini);
  monedas.IniciaCalculadora();
  EXPECT_EQ(view.panel1, "0,000000000000");
  EXPECT_EQ(view.panel_deci, "12");
  monedas.SpeedButton0Click(1);
  EXPECT_EQ(view.panel_deci, "99");
  EXPECT_EQ(view.panel1, "0," + std::string(99, '0'));
}

TEST_F(MonedasTest, ReloadingKeepsTheCurrentEntryEvenWhenItWasEmptied) {
  Keys("1000");
  monedas_.SpeedButton0Click(1);
  WriteBytes(ini_, "[MONEDAS]\nMoneda0=Pts\nDecimales0=0\nMoneda2=Mil\nCambio2=0,001\n");
  monedas_.CargaMonedas();
  monedas_.MuestraMoneda();
  EXPECT_EQ(monedas_.MonedaActual(), 1);
  EXPECT_EQ(E().Numeros[kDisplayRegister].count, 60101);  // amounts are not converted by new rates
  EXPECT_EQ(view_.Strip(), "|2|1|Cambio en Pts");
  EXPECT_FALSE(view_.buttons[1].enabled);
  EXPECT_EQ(view_.Cell(1), "|");             // the current, inactive entry's slot is blank
  EXPECT_EQ(view_.Cell(2), "6.010,10|Mil");  // through rate 1 now; Decimales2 is 2 again
  // Switching away from it still works.
  monedas_.SpeedButton0Click(0);
  EXPECT_EQ(monedas_.MonedaActual(), 0);
}

TEST(Monedas, TheEngineForgetsTheListenerWhenTheCurrenciesGo) {
  CurrencyView view;
  Calculadora calc(view, Separators{',', '.'});
  {
    Monedas monedas(calc, view, "");
    monedas.IniciaCalculadora();
  }
  calc.PoneDisplay(Currency{10000});  // must not call into the destroyed object
  EXPECT_EQ(view.panel1, "1,00");
}

}  // namespace
}  // namespace dravello
