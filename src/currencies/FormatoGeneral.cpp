// SPDX-License-Identifier: GPL-3.0-or-later
#include "FormatoGeneral.h"

#include <charconv>
#include <cmath>

namespace dravello {

namespace {

constexpr int kDigits = 15;

// The exponent of "d.ddde+XX" / "d.ddde-XXX" that std::to_chars writes.
int ExponentOf(std::string_view text) {
  int exponent = 0;
  std::size_t i = 0;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  for (; i < text.size(); ++i) exponent = exponent * 10 + (text[i] - '0');
  return negative ? -exponent : exponent;
}

}  // namespace

std::string FormatoGeneral(double value, char decimal_separator) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0) return "0";

  // "d.dddddddddddddde+XX": the 15 significant digits after rounding, and the exponent of the
  // rounded value (9.9999999999999999 becomes 1.00000000000000e+01). std::to_chars ignores the
  // process locale, which the toolkit sets from the environment.
  char buf[40];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, std::fabs(value),
                                       std::chars_format::scientific, kDigits - 1);
  if (ec != std::errc()) return "NAN";
  const std::string_view text(buf, static_cast<std::size_t>(end - buf));
  const std::size_t e = text.find('e');
  if (e == std::string_view::npos) return "NAN";
  std::string digits;
  for (const char c : text.substr(0, e)) {
    if (c != '.') digits.push_back(c);
  }
  const int exponent = ExponentOf(text.substr(e + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = value < 0 ? "-" : "";
  if (exponent < -5 || exponent >= kDigits) {
    out += digits[0];
    if (digits.size() > 1) {
      out += decimal_separator;
      out.append(digits, 1);
    }
    out += 'E';
    out += std::to_string(exponent);
    return out;
  }
  if (exponent < 0) {
    out += '0';
    out += decimal_separator;
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out += digits;
    return out;
  }
  const auto integer_digits = static_cast<std::size_t>(exponent) + 1;
  if (digits.size() <= integer_digits) {
    out += digits;
    out.append(integer_digits - digits.size(), '0');
    return out;
  }
  out.append(digits, 0, integer_digits);
  out += decimal_separator;
  out.append(digits, integer_digits);
  return out;
}

}  // namespace dravello
