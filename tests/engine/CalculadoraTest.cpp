// SPDX-License-Identifier: GPL-3.0-or-later
#include "Calculadora.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineHarness.h"

namespace dravello {
namespace {

class CalculadoraTest : public ::testing::Test, public EngineHarness {};

TEST(EsComando, TheAlphabetAndNothingElse) {
  const std::string alphabet = std::string("*/") + kHalfKey + "+-SXRABCOPQ%$TUV=\bLE";
  int accepted = 0;
  for (int code = 0; code < 256; ++code) {
    const char ch = static_cast<char>(code);
    const bool expected = alphabet.find(ch) != std::string::npos && ch != '\0';
    EXPECT_EQ(Calculadora::EsComando(ch), expected) << "code " << code;
    accepted += Calculadora::EsComando(ch) ? 1 : 0;
  }
  EXPECT_EQ(accepted, 23);
  EXPECT_FALSE(Calculadora::EsComando('\0'));
  EXPECT_FALSE(Calculadora::EsComando('D'));
  EXPECT_FALSE(Calculadora::EsComando('a'));
}

TEST_F(CalculadoraTest, StateOperationsTouchOnlyWhatTheyName) {
  Keys("7");
  calc_.BorraNumero(kAccumulator);
  EXPECT_EQ(calc_.Estado().TextoEntrada, "7");
  calc_.PasaAcumulador();
  EXPECT_EQ(calc_.Estado().Numeros[kAccumulator].count, 70000);
  EXPECT_EQ(calc_.Estado().Numeros[kDisplayRegister].count, 0);
  EXPECT_EQ(view_.panel1, "7,00");  // not refreshed
  calc_.BorraNumero(kDisplayRegister);
  EXPECT_EQ(calc_.Estado().TextoEntrada, "");
  Keys("3");
  calc_.QuitaOperacion();
  EXPECT_TRUE(calc_.Estado().HayNumero);
  EXPECT_TRUE(calc_.Estado().NuevaEntrada);
}

TEST_F(CalculadoraTest, MemoryPanelsFollowTheMemories) {
  Keys("0,0001A");
  EXPECT_EQ(view_.memory_panels[0].caption, "M(a)-> 0,00");
  EXPECT_EQ(view_.memory_panels[0].colour, kMemoryUsedColour);
  EXPECT_TRUE(view_.recall[0].enabled);
  EXPECT_EQ(view_.recall[0].font, kRecallEnabledFont);
  EXPECT_FALSE(view_.recall[1].enabled);
  EXPECT_EQ(view_.recall[1].font, kRecallDisabledFont);
  Keys("5T");
  EXPECT_EQ(view_.panel5.caption, "M+");
  EXPECT_EQ(view_.panel5_hint, "5,00");
  Keys("5U");
  EXPECT_EQ(view_.panel5.caption, "");
  EXPECT_EQ(view_.panel5.colour, kMemoryEmptyColour);
  EXPECT_EQ(view_.panel5_hint, "0,00");
  EXPECT_FALSE(view_.recall[3].enabled);
}

TEST_F(CalculadoraTest, AFailedCommandStopsAtTheFailingStep) {
  Keys("1000000000*1000000");
  const auto lines = view_.lines.size();
  Keys("=");
  ASSERT_EQ(view_.messages.size(), 1u);
  EXPECT_EQ(view_.messages[0].kind, MessageKind::kError);
  EXPECT_EQ(view_.messages[0].caption, "Calculadora Dravello");
  EXPECT_EQ(view_.messages[0].text, "Invalid floating point operation.");
  EXPECT_EQ(view_.lines.size(), lines);
  EXPECT_EQ(view_.panel6, "*");
  EXPECT_TRUE(calc_.Estado().HayOperacion);
  // The next key starts afresh.
  Keys("L5+5=");
  EXPECT_EQ(view_.panel1, "10,00");
}

TEST_F(CalculadoraTest, TheDecimalsOfTheMaskApplyToEveryFormattedValue) {
  calc_.SetDecimales(0);
  Keys("2,5A+1=");
  EXPECT_EQ(view_.lines.at(0), "3 --> M(a)");
  EXPECT_EQ(view_.lines.at(1), "3 + 1 = 4");
  EXPECT_EQ(view_.memory_panels[0].caption, "M(a)-> 3");
  EXPECT_EQ(view_.panel1, "4");
}

TEST_F(CalculadoraTest, DisplayListenerRunsAfterEveryDisplayChange) {
  int calls = 0;
  std::string seen;
  calc_.SetDisplayListener([&] {
    ++calls;
    seen = view_.panel1;
  });
  Keys("12+");
  EXPECT_EQ(calls, 2);  // "+" does not refresh the display
  Keys("3=");
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(seen, "15,00");
}

}  // namespace
}  // namespace dravello
