// SPDX-License-Identifier: GPL-3.0-or-later
// Random key sequences through the whole engine, with the invariants checked after every key.
// The sanitizer build runs this too, so undefined behaviour on any path shows up there.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "Calculadora.h"
#include "EngineHarness.h"

namespace dravello {
namespace {

// Digits and separators often (so that numbers grow large), every command, and some bytes
// outside the alphabet.
char RandomKey(std::mt19937& rng) {
  static const std::string kCommands = std::string("*/") + kHalfKey + "+-SXRABCOPQ%$TUV=\bLE";
  static const std::string kOthers = std::string("aDMZz \x01\xFF\x80", 9) + std::string(1, '\0');
  const int kind = static_cast<int>(rng() % 100);
  if (kind < 45) return static_cast<char>('0' + rng() % 10);
  if (kind < 50) return rng() % 2 ? ',' : '.';
  if (kind < 95) return kCommands[rng() % kCommands.size()];
  return kOthers[rng() % kOthers.size()];
}

bool LooksLikeAnAmount(const std::string& text) {
  // -?d{1,3}(.ddd)*,dd with two decimals, "," and "."
  std::size_t i = text.starts_with('-') ? 1 : 0;
  const std::size_t comma = text.find(',');
  if (comma == std::string::npos || text.size() - comma != 3) return false;
  const std::string integer = text.substr(i, comma - i);
  if (integer.empty() || integer.size() % 4 == 0) return false;
  for (std::size_t k = 0; k < integer.size(); ++k) {
    const bool dot_place = (integer.size() - k) % 4 == 0;
    if (dot_place ? integer[k] != '.' : !std::isdigit(static_cast<unsigned char>(integer[k])))
      return false;
  }
  return std::isdigit(static_cast<unsigned char>(text[comma + 1])) &&
         std::isdigit(static_cast<unsigned char>(text[comma + 2]));
}

void CheckInvariants(const Calculadora& calc, const RecordingView& view,
                     std::size_t messages_before) {
  const EstadoCalculadora& e = calc.Estado();
  ASSERT_EQ(e.HayOperacion, e.Operacion != '\0');
  ASSERT_NE(std::string("*/+-%$").find(e.HayOperacion ? e.Operacion : '*'), std::string::npos);
  const Currency memories[3] = {e.MemoriaA, e.MemoriaB, e.MemoriaC};
  static const char* const kPrefixes[3] = {"M(a)-> ", "M(b)-> ", "M(c)-> "};
  for (std::size_t m = 0; m < 3; ++m) {
    ASSERT_EQ(view.memory_panels[m].caption, kPrefixes[m] + calc.Formatea(memories[m]));
    ASSERT_EQ(view.recall[m].enabled, memories[m].count != 0);
  }
  ASSERT_EQ(view.recall[3].enabled, e.MemoriaAux.count != 0);
  ASSERT_EQ(view.panel5_hint, calc.Formatea(e.MemoriaAux));
  ASSERT_TRUE(LooksLikeAnAmount(view.panel1)) << view.panel1;
  ASSERT_LE(view.messages.size(), messages_before + 2);
  for (std::size_t i = messages_before; i < view.messages.size(); ++i) {
    const auto& m = view.messages[i];
    const bool overflow =
        m.caption == "Error" && m.text == " Esta Operaci\xF3n ha producido Desbordamiento ";
    const bool zero = m.caption == "Warning" && m.text == " No se puede Dividir por Cero ";
    const bool failure = m.caption == kApplicationTitle && m.text.ends_with(".");
    ASSERT_TRUE(overflow || zero || failure) << m.caption << "|" << m.text;
  }
}

TEST(Calculadora, RandomKeysKeepTheEngineConsistent) {
  std::mt19937 rng(20261208);
  constexpr int kSequences = 30;
  constexpr int kKeysPerSequence = 10000;
  for (int s = 0; s < kSequences; ++s) {
    EngineHarness harness;
    RecordingView& view = harness.view_;
    Calculadora& calc = harness.calc_;
    for (int k = 0; k < kKeysPerSequence; ++k) {
      const char key = RandomKey(rng);
      const std::size_t before = view.messages.size();
      RunCommand(view, [&] { calc.ProcesaTecla(key); });
      CheckInvariants(calc, view, before);
      if (::testing::Test::HasFatalFailure()) {
        FAIL() << "sequence " << s << ", key " << k << " (code "
               << int(static_cast<unsigned char>(key)) << ")";
      }
      if (view.lines.size() > 1000) view.lines.clear();
      if (view.messages.size() > 1000) view.messages.clear();
    }
  }
}

}  // namespace
}  // namespace dravello
