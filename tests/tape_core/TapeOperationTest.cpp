// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeOperation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dravello {
namespace {

constexpr Separators kSpain{',', '.'};
constexpr Separators kUnitedStates{'.', ','};
constexpr Separators kBlankGroups{',', ' '};
constexpr Separators kNoBreakGroups{',', '\xA0'};

struct Case {
  const char* line;
  Separators separators;
  // Operand, operator, operand, result; all empty: not an operation.
  std::vector<std::string> fields;
};

TEST(TapeOperation, ReadsEveryArithmeticLineAndNothingElse) {
  const std::vector<Case> cases = {
      // The four operations, with grouping dropped and the decimals kept as shown.
      {"1.234,50 + 0,50 = 1.235,00", kSpain, {"1234,50", "+", "0,50", "1235,00"}},
      {"10,00 - 12,00 = -2,00", kSpain, {"10,00", "-", "12,00", "-2,00"}},
      {"-5,00 - -3,00 = -2,00", kSpain, {"-5,00", "-", "-3,00", "-2,00"}},
      {"2,00 * 0,00 = 0,00", kSpain, {"2,00", "*", "0,00", "0,00"}},
      {"1,00 / 3,00 = 0,33", kSpain, {"1,00", "/", "3,00", "0,33"}},
      // Halving is written as a division by a bare 2.
      {"5,00 / 2 = 2,50", kSpain, {"5,00", "/", "2", "2,50"}},
      {"5 / 2 = 3", kSpain, {"5", "/", "2", "3"}},
      // Per cent and per mille.
      {"200,00 % 15,00 = 30,00", kSpain, {"200,00", "%", "15,00", "30,00"}},
      {"2.000,00 %% 15,00 = 30,00", kSpain, {"2000,00", "%%", "15,00", "30,00"}},
      // One operand.
      {"Raiz(2,00) = 1,41", kSpain, {"2,00", "Raiz", "", "1,41"}},
      {"Elev2(1,50) = 2,25", kSpain, {"1,50", "Elev2", "", "2,25"}},
      {"12,00 = -12,00", kSpain, {"12,00", "\xB1", "", "-12,00"}},
      {"1,23 = -1,2345", kSpain, {"1,23", "\xB1", "", "-1,2345"}},
      {"-12,00 = 12", kSpain, {"-12,00", "\xB1", "", "12"}},
      // The accumulating memory.
      {"5,00 --> Memo+ [5,00]", kSpain, {"5,00", "Memo+", "", "5,00"}},
      {"2,00 --> Memo- [-3,00]", kSpain, {"2,00", "Memo-", "", "-3,00"}},
      // Whole currencies, many decimals, the largest amounts.
      {"1.500 + 250 = 1.750", kSpain, {"1500", "+", "250", "1750"}},
      {"1,000000000 * 2,000000000 = 2,000000000",
       kSpain,
       {"1,000000000", "*", "2,000000000", "2,000000000"}},
      {"922.337.203.685.477,58 + 0,00 = 922.337.203.685.477,58",
       kSpain,
       {"922337203685477,58", "+", "0,00", "922337203685477,58"}},
      {"-922.337.203.685.477,58 - 0,00 = -922.337.203.685.477,58",
       kSpain,
       {"-922337203685477,58", "-", "0,00", "-922337203685477,58"}},
      // Other regional separators, blanks among them.
      {"1,234.50 + 0.50 = 1,235.00", kUnitedStates, {"1234.50", "+", "0.50", "1235.00"}},
      {"12.00 = -12.00", kUnitedStates, {"12.00", "\xB1", "", "-12.00"}},
      {"1 234,50 + 1 000 = 2 234,50", kBlankGroups, {"1234,50", "+", "1000", "2234,50"}},
      {"5 / 2 = 3", kBlankGroups, {"5", "/", "2", "3"}},
      {"1\xA0"
       "234,50 * 2,00 = 2\xA0"
       "469,00",
       kNoBreakGroups,
       {"1234,50", "*", "2,00", "2469,00"}},
      // Not operations.
      {"125,00 / 0,00 = Desbordado", kSpain, {}},
      {"7,00 --> M(a)", kSpain, {}},
      {"M(a)[7,00] --> Disp", kSpain, {}},
      {"Memo[3,00] --> Disp", kSpain, {}},
      {"Borrar Datos (Clr)", kSpain, {}},
      {"Resetear (Rst)", kSpain, {}},
      {"(1.000 Pts)", kSpain, {}},
      {"---> Cambio a Moneda (Eur)", kSpain, {}},
      {"Copiado a ClipBoard 1.234,50", kSpain, {}},
      {"Pegado Desde ClipBoard 0,00", kSpain, {}},
      {"", kSpain, {}},
      // Near misses: wrong grouping, the other regional notation, stray text.
      {"1234,50 + 0,50 = 1235,00", kSpain, {}},
      {"1.23,50 + 0,50 = 1,00", kSpain, {}},
      {"1,234.50 + 0.50 = 1,235.00", kSpain, {}},
      {"1,00 + 2,00 = 3,00 ", kSpain, {}},
      {" 1,00 + 2,00 = 3,00", kSpain, {}},
      {"1,00 +  2,00 = 3,00", kSpain, {}},
      {"1,00 + 2,00 = ", kSpain, {}},
      {"1,00 + , = 3,00", kSpain, {}},
      {"1, + 2,00 = 3,00", kSpain, {}},
      {"Raiz(2,00 = 1,41", kSpain, {}},
      {"1,00 ^ 2,00 = 1,00", kSpain, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::optional<TapeOperation> read = TapeOperation::Read(c.line, c.separators);
    if (c.fields.empty()) {
      EXPECT_FALSE(read.has_value());
      continue;
    }
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(
        (std::vector<std::string>{read->operand1, read->operator_, read->operand2, read->result}),
        c.fields);
  }
}

}  // namespace
}  // namespace dravello
