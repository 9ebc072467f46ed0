// SPDX-License-Identifier: GPL-3.0-or-later
#include "Portapapeles.h"

#include <gtest/gtest.h>

#include <string>

#include "Cp1252.h"
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
    const auto before = clip.calc_.Estado().Numeros[kDisplayRegister];
    EXPECT_EQ(CopiaDisplay(clip.calc_), c.clipboard) << c.keys;
    ASSERT_FALSE(clip.view_.lines.empty());
    EXPECT_EQ(clip.view_.lines.back(), c.line) << c.keys;
    EXPECT_EQ(clip.calc_.Estado().Numeros[kDisplayRegister], before)
        << "copying must not change the number";
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

TEST(PegaDisplay, ReadsTheRegionalNotation) {
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
      {{',', '.'}, "12\r\n", 120000, "Pegado Desde ClipBoard 12,00"},
      {{',', '.'}, "3\n4", 30000, "Pegado Desde ClipBoard 3,00"},
      {{'.', ','}, "1234.5", 12345000, "Pegado Desde ClipBoard 1,234.50"},
      // Integer digits grouped in threes: the regional separator, a space, a no-break space
      // (U+00A0) or a narrow no-break space (U+202F), the same one throughout.
      {{',', '.'}, "1.234,50", 12345000, "Pegado Desde ClipBoard 1.234,50"},
      {{',', '.'}, "-12.345.678,9", -123456789000, "Pegado Desde ClipBoard -12.345.678,90"},
      {{',', '.'}, "1.234", 12340000, "Pegado Desde ClipBoard 1.234,00"},
      {{',', '.'}, "1 234,56", 12345600, "Pegado Desde ClipBoard 1.234,56"},
      {{',', '.'}, "1\u00a0234\u00a0567,5", 12345675000, "Pegado Desde ClipBoard 1.234.567,50"},
      {{',', '.'}, "1\u202f234,56", 12345600, "Pegado Desde ClipBoard 1.234,56"},
      {{',', '.'}, "\u00a01.234,56\u00a0", 12345600, "Pegado Desde ClipBoard 1.234,56"},
      {{'.', ','}, "1,234.50", 12345000, "Pegado Desde ClipBoard 1,234.50"},
      {{'.', ','}, "1 234.5", 12345000, "Pegado Desde ClipBoard 1,234.50"},
      // The French separator (shown as a no-break space) and the Swiss one (U+2019, 0x92).
      {{',', '\240'}, "1\u202f234,5", 12345000, "Pegado Desde ClipBoard 1\240234,50"},
      {{',', '\222'}, "1\u2019234,5", 12345000, "Pegado Desde ClipBoard 1\222234,50"},
      {{',', '.'}, "12 ", 120000, "Pegado Desde ClipBoard 12,00"},
      // The minus sign U+2212, as typeset numbers write it.
      {{',', '.'}, "\u22121.234,5", -12345000, "Pegado Desde ClipBoard -1.234,50"},
      {{',', '.'}, " \u22120,5", -5000, "Pegado Desde ClipBoard -0,50"},
      // Too small for the extended type: rounds to 0 as any tiny number does.
      {{',', '.'}, "0," + std::string(1000, '0') + "1e-3960", 0, "Pegado Desde ClipBoard 0,00"},
      // Up to 1 KiB without the blanks around it; only the first line counts.
      {{',', '.'}, "\t " + std::string(1024, '0') + " ", 0, "Pegado Desde ClipBoard 0,00"},
      {{',', '.'}, "4\n" + std::string(5000, '4'), 40000, "Pegado Desde ClipBoard 4,00"},
  };
  for (const auto& c : cases) {
    Clipboard clip(c.separators);
    clip.Keys("5+");
    EXPECT_TRUE(PegaDisplay(clip.calc_, c.text)) << c.text;
    EXPECT_EQ(clip.calc_.Estado().Numeros[kDisplayRegister].count, c.count) << c.text;
    ASSERT_FALSE(clip.view_.lines.empty());
    EXPECT_EQ(clip.view_.lines.back(), c.line) << c.text;
    EXPECT_TRUE(clip.calc_.Estado().HayNumero);
    EXPECT_TRUE(clip.calc_.Estado().NuevaEntrada);
  }
}

TEST(PegaDisplay, TheDisplaysOwnTextReadsBackAsItsValue) {
  for (const Separators separators : {Separators{',', '.'}, Separators{'.', ','},
                                      Separators{',', '\xA0'}, Separators{',', ' '}}) {
    for (const char* keys : {"1234567,89", "123456789012,34S", "0,5", "999"}) {
      Clipboard from(separators);
      from.Keys(keys);
      Clipboard to(separators);
      EXPECT_TRUE(PegaDisplay(to.calc_, Cp1252ToUtf8(from.view_.panel1))) << from.view_.panel1;
      EXPECT_EQ(to.calc_.Estado().Numeros[kDisplayRegister],
                from.calc_.Estado().Numeros[kDisplayRegister])
          << keys;
    }
  }
}

// Text that is still not a number is refused: nothing changes, and the window beeps.
TEST(PegaDisplay, TextThatIsNotANumberChangesNothing) {
  struct Case {
    Separators separators;
    std::string text;
  } const cases[] = {
      {{',', '.'}, ""},
      {{',', '.'}, "doce"},
      {{',', '.'}, "1234.5"},  // the other decimal mark
      {{',', '.'}, "\n3"},
      {{',', '.'}, std::string("1\0002", 3)},
      {{',', '.'}, "5 \u20ac"},
      {{',', '.'}, "\u4e94"},
      {{'.', ','}, "1.234,50"},
      // Broken grouping: a group of other than three digits, a first group of more than three,
      // two kinds of separator, a separator at the start or the end of the digits.
      {{',', '.'}, "1.23"},
      {{',', '.'}, "1.2345"},
      {{',', '.'}, "1234.567"},
      {{',', '.'}, "1.234 567"},
      {{',', '.'}, "1 23,5"},
      {{',', '.'}, ".234"},
      {{',', '.'}, "1.234."},
      {{',', '.'}, "-.234"},
      {{',', '.'}, "1,234.5"},
      {{'.', ','}, "1,5"},
      {{',', '.'}, "\u2212"},
      {{',', '.'}, "\u2212\u22125"},
      {{',', '.'}, "1\u2009234"},  // a thin space is no thousands separator
      // Longer than any number: refused at once, not read (not even as an overflow).
      {{',', '.'}, std::string(1025, '7')},
      {{',', '.'}, std::string(20 << 20, '1') + "\n5"},
  };
  for (const auto& c : cases) {
    Clipboard clip(c.separators);
    clip.Keys("5+3");
    const EstadoCalculadora before = clip.calc_.Estado();
    const std::string display = clip.view_.panel1;
    const auto lines = clip.view_.lines.size();
    EXPECT_FALSE(PegaDisplay(clip.calc_, c.text)) << c.text;
    EXPECT_EQ(clip.view_.panel1, display) << c.text;
    EXPECT_EQ(clip.view_.lines.size(), lines) << c.text;
    EXPECT_EQ(clip.calc_.Estado().Numeros[kAccumulator], before.Numeros[kAccumulator]) << c.text;
    EXPECT_EQ(clip.calc_.Estado().Numeros[kDisplayRegister], before.Numeros[kDisplayRegister])
        << c.text;
    EXPECT_EQ(clip.calc_.Estado().TextoEntrada, before.TextoEntrada) << c.text;
    EXPECT_EQ(clip.calc_.Estado().HayNumero, before.HayNumero) << c.text;
    EXPECT_EQ(clip.calc_.Estado().NuevaEntrada, before.NuevaEntrada) << c.text;
    EXPECT_EQ(clip.calc_.Estado().HayOperacion, before.HayOperacion) << c.text;
  }
}

TEST(PegaDisplay, ANumberBeyondTheRangeChangesNothing) {
  for (const std::string& text :
       {std::string("1e20"), std::string(1024, '7'), std::string("-922337203685477,5809"),
        std::string("1.000.000.000.000.000"), std::string("\u22121e19")}) {
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
    EXPECT_EQ(clip.calc_.Estado().Numeros[kDisplayRegister].count, 30000);
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
