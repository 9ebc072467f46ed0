// SPDX-License-Identifier: GPL-3.0-or-later
#include "Formato.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace dravello {

namespace {

constexpr std::uint64_t kPow10[] = {1ULL,
                                    10ULL,
                                    100ULL,
                                    1000ULL,
                                    10000ULL,
                                    100000ULL,
                                    1000000ULL,
                                    10000000ULL,
                                    100000000ULL,
                                    1000000000ULL,
                                    10000000000ULL,
                                    100000000000ULL,
                                    1000000000000ULL,
                                    10000000000000ULL,
                                    100000000000000ULL,
                                    1000000000000000ULL,
                                    10000000000000000ULL,
                                    100000000000000000ULL,
                                    1000000000000000000ULL,
                                    10000000000000000000ULL};

int DigitCount(std::uint64_t n) {
  int digits = 1;
  while (digits < 20 && n >= kPow10[digits]) ++digits;
  return digits;
}

std::uint64_t Magnitude(Currency v) {
  // Two's complement negation in unsigned arithmetic also covers the most negative count.
  return v.count < 0 ? 0 - static_cast<std::uint64_t>(v.count)
                     : static_cast<std::uint64_t>(v.count);
}

// Rounds `magnitude` to a multiple of 10^drop, halves away from zero. The result stays below
// 2^64 because magnitudes are at most 2^63.
std::uint64_t RoundAway(std::uint64_t magnitude, int drop) {
  if (drop <= 0) return magnitude;
  const std::uint64_t unit = kPow10[drop];
  std::uint64_t q = magnitude / unit;
  const std::uint64_t r = magnitude % unit;
  if (r >= unit - r) ++q;
  return q * unit;
}

// Digits of the count's ten-thousandths; `drop` grows so that at most `max_significant` digits
// remain.
int SignificantDrop(std::uint64_t magnitude, int drop, int max_significant) {
  const int digits = DigitCount(magnitude);
  if (digits - drop > max_significant) drop = digits - max_significant;
  return drop;
}

void AppendUnsigned(std::string& out, std::uint64_t n) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
  (void)ec;
  out.append(buf, end);
}

void AppendGrouped(std::string& out, std::uint64_t n, char thousands) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
  (void)ec;
  const int len = static_cast<int>(end - buf);
  for (int i = 0; i < len; ++i) {
    if (i > 0 && (len - i) % 3 == 0) out.push_back(thousands);
    out.push_back(buf[i]);
  }
}

void AppendFraction4(std::string& out, std::uint64_t fraction, int digits) {
  char buf[4];
  for (int i = 3; i >= 0; --i) {
    buf[i] = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  out.append(buf, static_cast<std::size_t>(digits));
}

std::string PlainDigits(bool negative, std::uint64_t rounded, char decimal_separator) {
  std::string out;
  if (negative && rounded != 0) out.push_back('-');
  AppendUnsigned(out, rounded / 10000);
  std::uint64_t fraction = rounded % 10000;
  if (fraction != 0) {
    int digits = 4;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --digits;
    }
    out.push_back(decimal_separator);
    AppendFraction4(out, fraction * kPow10[4 - digits], digits);
  }
  return out;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Whether a number in C notation that the extended type cannot hold lies below its smallest
// value rather than above its largest: whether its first significant digit stands after the
// decimal point, once the exponent has moved it ("0,000…01" written out, "1e-5000").
bool BelowRange(std::string_view normal) {
  const std::size_t e = std::min(normal.find('e'), normal.size());
  const std::string_view mantissa = normal.substr(0, e);
  const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
  const std::size_t first = mantissa.find_first_not_of("0.");
  if (first == std::string_view::npos) return true;
  // The power of ten of the first significant digit, then the exponent's, both saturated far
  // beyond any range (a text holds at most a few thousand million digits).
  constexpr long long kFar = 1LL << 40;
  long long power = first < point ? static_cast<long long>(point - first) - 1
                                  : -static_cast<long long>(first - point);
  if (e < normal.size()) {
    std::size_t i = e + 1;
    const bool negative = normal[i] == '-';
    if (normal[i] == '-' || normal[i] == '+') ++i;
    long long exponent = 0;
    for (; i < normal.size(); ++i) exponent = std::min(kFar, exponent * 10 + (normal[i] - '0'));
    power += negative ? -exponent : exponent;
  }
  return power < 0;
}

}  // namespace

std::string FormatAmount(Currency value, int decimals, Separators separators) {
  if (decimals < 0) decimals = 0;
  const std::uint64_t magnitude = Magnitude(value);
  const int shown_fraction = decimals < 4 ? decimals : 4;
  const int drop = SignificantDrop(magnitude, 4 - shown_fraction, 18);
  const std::uint64_t rounded = RoundAway(magnitude, drop);

  std::string out;
  out.reserve(32 + static_cast<std::size_t>(decimals));
  if (value.count < 0 && rounded != 0) out.push_back('-');
  AppendGrouped(out, rounded / 10000, separators.thousands);
  if (decimals > 0) {
    out.push_back(separators.decimal);
    AppendFraction4(out, rounded % 10000, shown_fraction);
    if (decimals > 4) out.append(static_cast<std::size_t>(decimals - 4), '0');
  }
  return out;
}

std::string FormatPlain(Currency value, char decimal_separator) {
  const std::uint64_t magnitude = Magnitude(value);
  return PlainDigits(value.count < 0, RoundAway(magnitude, SignificantDrop(magnitude, 0, 15)),
                     decimal_separator);
}

std::string FormatExact(Currency value, char decimal_separator) {
  return PlainDigits(value.count < 0, Magnitude(value), decimal_separator);
}

ParseStatus ParseExtended(std::string_view text, char decimal_separator, long double& value) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;

  // Rebuild the number in the C notation that from_chars reads, checking the syntax on the way.
  std::string normal;
  normal.reserve(end - begin + 2);
  std::size_t i = begin;
  bool negative = false;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool mantissa_digits = false;
  bool separator = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (IsDigit(c)) {
      normal.push_back(c);
      mantissa_digits = true;
    } else if (c == decimal_separator && !separator) {
      normal.push_back('.');
      separator = true;
    } else {
      break;
    }
  }
  if (!mantissa_digits && !separator) return ParseStatus::kNotANumber;
  if (!mantissa_digits) normal = "0";  // the separator alone reads as 0
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    normal.push_back('e');
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) normal.push_back(text[i++]);
    bool exponent_digits = false;
    for (; i < end && IsDigit(text[i]); ++i) {
      normal.push_back(text[i]);
      exponent_digits = true;
    }
    if (!exponent_digits) return ParseStatus::kNotANumber;
  }
  if (i != end) return ParseStatus::kNotANumber;
  if (normal.back() == '.') normal.push_back('0');
  if (normal.front() == '.') normal.insert(normal.begin(), '0');

  long double parsed = 0;
  const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
  if (ec == std::errc::result_out_of_range) {
    // Underflow rounds to zero, as any number too small for a count does; overflow is a value
    // no amount can hold.
    if (!BelowRange(normal)) return ParseStatus::kOutOfRange;
    value = 0;
    return ParseStatus::kOk;
  }
  if (ec != std::errc() || ptr != normal.data() + normal.size()) return ParseStatus::kNotANumber;
  value = negative ? -parsed : parsed;
  return ParseStatus::kOk;
}

Currency ParseAmount(std::string_view text, char decimal_separator) {
  long double value = 0;
  switch (ParseExtended(text, decimal_separator, value)) {
    case ParseStatus::kOk:
      return RoundToCount(value * 10000.0L);
    case ParseStatus::kOutOfRange:
      throw EngineError(kInvalidOperation);
    case ParseStatus::kNotANumber:
      break;
  }
  throw EngineError("'" + std::string(text) + "' is not a valid floating point value");
}

}  // namespace dravello
