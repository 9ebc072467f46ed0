#include "Portapapeles.h"

#include <gtest/gtest.h>

#include <string>

#include "EngineHarness.h"

namespace dravello {
namespace {

using Clipboard = EngineHarness;

TEST(CopiaDisplay, CopiesTheExactStoredValue) {
  struct Case {
    Separators separators;
    int decimals;
    const char* keys;
    const char* clipboard;
    const char* line;
  } const cases[] = {
      {{',', '.'}, 2, "1234,5", "1234,5", "Copiado a ClipBoard 1.234,50"},
      {{'.', ','}, 2, "1234.5", "1234.5", "Copiado a ClipBoard 1,234.50"},
      {{',', '.'}, 2, "42", "42", "Copiado a ClipBoard 42,00"},
      {{',', '.'}, 2, "", "0", "Copiado a ClipBoard 0,00"},
      {{',', '.'}, 2, "1,2345", "1,2345", "Copiado a ClipBoard 1,23"},
      {{',', '.'}, 0, "7S", "-7", "Copiado a ClipBoard -7"},
      // More than 15 significant digits: every digit is kept.
      {{',', '.'},
       2,
       "123456789012,34+0,0056=",
       "123456789012,3456",
       "Copiado a ClipBoard 123.456.789.012,35"},
      // After an operator the register is 0 while the display still shows the operand.
      {{',', '.'}, 2, "5+", "0", "Copiado a ClipBoard 5,00"},
  };
  for (const auto& c : cases) {
    Clipboard clip(c.separators, c.decimals);
    clip.Keys(c.keys);
    const auto before = clip.calc_.Estado().Numeros[2];
    EXPECT_EQ(CopiaDisplay(clip.calc_), c.clipboard) << c.keys;
    ASSERT_FALSE(clip.view_.lines.empty());
    EXPECT_EQ(clip.view_.lines.back(), c.line) << c.keys;
    EXPECT_EQ(clip.calc_.Estado().Numeros[2], before) << "copying must not change the number";
    EXPECT_TRUE(clip.calc_.Estado().NuevaEntrada);
  }
}

TEST(CopiaDisplay, TheNextDigitStartsANewNumber) {
  Clipboard clip({',', '.'});
  clip.Keys("12");
  CopiaDisplay(clip.calc_);
  clip.Keys("3");
  EXPECT_EQ(clip.view_.panel1, "3,00");
}

TEST(PegaDisplay, ReadsTheRegionalNotationAndGivesZeroOtherwise) {
  struct Case {
    Separators separators;
    std::string text;
    std::int64_t count;
    const char* line;
  } const cases[] = {
      {{',', '.'}, "1234,5", 12345000, "Pegado Desde ClipBoard 1.234,50"},
      {{',', '.'}, " -12,5 ", -125000, "Pegado Desde ClipBoard -12,50"},
      {{',', '.'}, "1E3", 10000000, "Pegado Desde ClipBoard 1.000,00"},
      {{',', '.'}, "0,00016", 2, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "0,00014", 1, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "1.234,50", 0, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "1234.5", 0, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "", 0, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "doce", 0, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "12\r\n", 120000, "Pegado Desde ClipBoard 12,00"},
      {{',', '.'}, "3\n4", 30000, "Pegado Desde ClipBoard 3,00"},
      {{',', '.'}, "\n3", 0, "Pegado Desde ClipBoard 0,00"},
      {{'.', ','}, "1234.5", 12345000, "Pegado Desde ClipBoard 1,234.50"},
      {{'.', ','}, "1,234.50", 0, "Pegado Desde ClipBoard 0.00"},
      {{',', '.'}, std::string("1\0002", 3), 0, "Pegado Desde ClipBoard 0,00"},
  };
  for (const auto& c : cases) {
    Clipboard clip(c.separators);
    clip.Keys("5+");
    PegaDisplay(clip.calc_, c.text);
    EXPECT_EQ(clip.calc_.Estado().Numeros[2].count, c.count) << c.text;
    ASSERT_FALSE(clip.view_.lines.empty());
    EXPECT_EQ(clip.view_.lines.back(), c.line) << c.text;
    EXPECT_TRUE(clip.calc_.Estado().HayNumero);
    EXPECT_TRUE(clip.calc_.Estado().NuevaEntrada);
  }
}

TEST(PegaDisplay, ANumberBeyondTheRangeChangesNothing) {
  for (const std::string& text :
       {std::string("1e20"), std::string(10000, '7'), std::string("-922337203685477,5809")}) {
    Clipboard clip({',', '.'});
    clip.Keys("5+3");
    const auto lines = clip.view_.lines.size();
    const bool ok = RunCommand(clip.view_, [&] { PegaDisplay(clip.calc_, text); });
    EXPECT_FALSE(ok);
    ASSERT_EQ(clip.view_.messages.size(), 1u);
    EXPECT_EQ(clip.view_.messages[0].caption, "Calculadora Dravello");
    EXPECT_EQ(clip.view_.messages[0].text, "Invalid floating point operation.");
    EXPECT_EQ(clip.view_.lines.size(), lines);
    EXPECT_EQ(clip.view_.panel1, "3,00");
    EXPECT_EQ(clip.calc_.Estado().Numeros[2].count, 30000);
    EXPECT_FALSE(clip.calc_.Estado().NuevaEntrada);
  }
}

TEST(PegaDisplay, APastedValueIsAnOperand) {
  Clipboard clip({',', '.'});
  clip.Keys("5+");
  PegaDisplay(clip.calc_, "2,5");
  clip.Keys("=");
  EXPECT_EQ(clip.view_.panel1, "7,50");
}

}  // namespace
}  // namespace dravello
