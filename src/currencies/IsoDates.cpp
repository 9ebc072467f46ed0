// SPDX-License-Identifier: GPL-3.0-or-later
#include "IsoDates.h"

#include <chrono>
#include <ctime>

namespace dravello {

namespace {

bool Digits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

int Number(std::string_view digits) {
  int n = 0;
  for (char c : digits) n = n * 10 + (c - '0');
  return n;
}

std::chrono::year_month_day Civil(std::string_view iso) {
  return std::chrono::year{Number(iso.substr(0, 4))} /
         std::chrono::month{static_cast<unsigned>(Number(iso.substr(5, 2)))} /
         std::chrono::day{static_cast<unsigned>(Number(iso.substr(8, 2)))};
}

// `value` in `width` digits with leading zeros.
std::string Padded(long long value, int width) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), '0');
  return text;
}

}  // namespace

bool IsIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return false;
  if (!Digits(text.substr(0, 4)) || !Digits(text.substr(5, 2)) || !Digits(text.substr(8, 2))) {
    return false;
  }
  return Civil(text).ok();
}

std::int64_t DayNumber(std::string_view iso) {
  return std::chrono::sys_days(Civil(iso)).time_since_epoch().count();
}

std::string IsoDate(std::int64_t day_number) {
  const std::chrono::year_month_day civil{std::chrono::sys_days(std::chrono::days(day_number))};
  return Padded(static_cast<int>(civil.year()), 4) + "-" +
         Padded(static_cast<unsigned>(civil.month()), 2) + "-" +
         Padded(static_cast<unsigned>(civil.day()), 2);
}

std::string SpanishDate(std::string_view iso) {
  if (!IsIsoDate(iso)) return {};
  return std::string(iso.substr(8, 2)) + "/" + std::string(iso.substr(5, 2)) + "/" +
         std::string(iso.substr(0, 4));
}

std::string LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return "1970-01-01";
  return Padded(local.tm_year + 1900, 4) + "-" + Padded(local.tm_mon + 1, 2) + "-" +
         Padded(local.tm_mday, 2);
}

}  // namespace dravello
