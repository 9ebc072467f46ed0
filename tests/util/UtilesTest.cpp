// SPDX-License-Identifier: GPL-3.0-or-later
#include "Utiles.h"

#include <gtest/gtest.h>

#include <string>

namespace dravello {
namespace {

TEST(CambiaCaracter, ReplacesEveryOccurrenceByExactCode) {
  const struct {
    std::string texto;
    char viejo, nuevo;
    std::string expected;
  } cases[] = {
      {"1.234.5", '.', ',', "1,234,5"},
      {"166,386", ',', ',', "166,386"},  // the same character: unchanged
      {"", ',', '.', ""},
      {"a b c", ' ', '0', "a0b0c"},
      {"Aa", 'a', 'x', "Ax"},           // no case folding
      {"\xF3\xF3", '\xF3', 'o', "oo"},  // single-byte texts
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CambiaCaracter(c.texto, c.viejo, c.nuevo), c.expected) << c.texto;
  }
}

TEST(AgregaBarra, EndsAFolderInOneSeparator) {
  const std::string s(1, kSeparadorCarpeta);
  const struct {
    std::string texto, expected;
  } cases[] = {
      {"", ""}, {"/opt/calc", "/opt/calc" + s}, {"/opt/calc" + s, "/opt/calc" + s},
      {s, s},   {"calc", "calc" + s},
  };
  for (const auto& c : cases) EXPECT_EQ(AgregaBarra(c.texto), c.expected) << c.texto;
}

}  // namespace
}  // namespace dravello
