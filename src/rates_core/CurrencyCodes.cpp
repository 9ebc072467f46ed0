// SPDX-License-Identifier: GPL-3.0-or-later
#include "CurrencyCodes.h"

#include <array>
#include <utility>

namespace dravello {

namespace {

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

std::string_view Trim(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

// Everyday names, in capitals; the symbols are Windows-1252 bytes (0x80 €, 0xA3 £, 0xA5 ¥).
constexpr std::array<std::pair<std::string_view, std::string_view>, 11> kNames{{
    {"EUR", "EUR"},
    {"\x80", "EUR"},
    {"DOL", "USD"},
    {"$", "USD"},
    {"LIB", "GBP"},
    {"LIBRA", "GBP"},
    {"\xA3", "GBP"},
    {"YEN", "JPY"},
    {"\xA5", "JPY"},
    {"PTS", "ESP"},
    {"PTA", "ESP"},
}};

// Units per euro, fixed when each currency joined the euro.
constexpr std::array<std::pair<std::string_view, double>, 19> kFixed{{
    {"ESP", 166.386}, {"DEM", 1.95583},  {"FRF", 6.55957},  {"ITL", 1936.27},  {"NLG", 2.20371},
    {"BEF", 40.3399}, {"ATS", 13.7603},  {"PTE", 200.482},  {"IEP", 0.787564}, {"FIM", 5.94573},
    {"GRD", 340.750}, {"SIT", 239.640},  {"CYP", 0.585274}, {"MTL", 0.429300}, {"SKK", 30.1260},
    {"EEK", 15.6466}, {"LVL", 0.702804}, {"LTL", 3.45280},  {"HRK", 7.53450},
}};

}  // namespace

std::string CurrencyCode(std::string_view abbreviation) {
  const std::string text = UpperAscii(Trim(abbreviation));
  for (const auto& [name, code] : kNames) {
    if (text == name) return std::string(code);
  }
  if (text.size() != 3) return {};
  for (char c : text) {
    if (c < 'A' || c > 'Z') return {};
  }
  return text;
}

std::optional<double> FixedEuroRate(std::string_view code) {
  for (const auto& [fixed, rate] : kFixed) {
    if (code == fixed) return rate;
  }
  return std::nullopt;
}

}  // namespace dravello
