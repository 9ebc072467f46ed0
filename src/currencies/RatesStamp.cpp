// SPDX-License-Identifier: GPL-3.0-or-later
#include "RatesStamp.h"

#include <charconv>
#include <vector>

#include "IsoDates.h"
#include "PrivateProfile.h"

namespace dravello {

namespace {

RateOrigin ReadOrigin(const PrivateProfile& ini, const std::string& date_key,
                      const std::string& host_key) {
  RateOrigin origin{ini.Get(RatesStamp::kSection, date_key, ""),
                    ini.Get(RatesStamp::kSection, host_key, "")};
  if (!IsIsoDate(origin.date)) return {};
  return origin;
}

// Whole days from `date` to `today`; 0 for a day after today (a clock set wrong).
long long AgeInDays(std::string_view date, std::string_view today) {
  if (!IsIsoDate(date) || !IsIsoDate(today)) return 0;
  const long long age = DayNumber(today) - DayNumber(date);
  return age > 0 ? age : 0;
}

std::string Days(long long days) {
  return std::to_string(days) + (days == 1 ? " d\xED"
                                             "a"
                                           : " d\xED"
                                             "as");
}

std::string FromFeed(const RateOrigin& origin) {
  return "del " + SpanishDate(origin.date) + " (" + SourceName(origin.host) + ")";
}

// "A", "A y B", "A, B y C".
std::string List(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " y " : ", ";
    text += items[i];
  }
  return text;
}

}  // namespace

RatesStamp RatesStamp::Read(const PrivateProfile& ini) {
  RatesStamp stamp;
  stamp.update = ReadOrigin(ini, "Fecha", "Origen");
  for (int n = 1; n < kNumeroMonedas; ++n) {
    stamp.rows[static_cast<std::size_t>(n)] =
        ReadOrigin(ini, "Fecha" + std::to_string(n), "Origen" + std::to_string(n));
  }
  stamp.update_at_start = ini.Get(kSection, "ActualizarAlAbrir", "0") == "1";
  const std::string days = ini.Get(kSection, "Dias", "");
  int value = 0;
  const auto [end, error] = std::from_chars(days.data(), days.data() + days.size(), value);
  if (error == std::errc() && end == days.data() + days.size() && value >= 1 &&
      value <= kLongestMaxAgeDays) {
    stamp.max_age_days = value;
  }
  return stamp;
}

void RatesStamp::WriteTo(PrivateProfile& ini) const {
  const auto write = [&ini](const std::string& key, const std::string& value,
                            std::string_view fallback) {
    if (value != fallback || ini.Has(kSection, key)) ini.Set(kSection, key, value);
  };
  write("Fecha", update.date, "");
  write("Origen", update.host, "");
  for (int n = 1; n < kNumeroMonedas; ++n) {
    const RateOrigin& row = rows[static_cast<std::size_t>(n)];
    write("Fecha" + std::to_string(n), row.date, "");
    write("Origen" + std::to_string(n), row.host, "");
  }
  write("ActualizarAlAbrir", update_at_start ? "1" : "0", "0");
  write("Dias", std::to_string(max_age_days), std::to_string(kDefaultMaxAgeDays));
}

bool RatesStamp::NeedsStartupUpdate(std::string_view today) const {
  return update_at_start && (!update.FromFeed() || AgeInDays(update.date, today) > max_age_days);
}

std::string SourceName(std::string_view host) {
  if (host == "www.ecb.europa.eu" || host == "ecb.europa.eu") return "BCE";
  return std::string(host);
}

std::string RateNote(const RatesStamp& stamp, int row, std::string_view today) {
  if (row <= 0 || row >= kNumeroMonedas) return "Moneda base: su cambio es siempre 1";
  const RateOrigin& origin = stamp.rows[static_cast<std::size_t>(row)];
  if (!origin.FromFeed()) return "Cambio introducido a mano";
  std::string note = "Cambio " + FromFeed(origin);
  const long long age = AgeInDays(origin.date, today);
  if (age > stamp.max_age_days) note += ", hace " + Days(age);
  return note;
}

std::string UpdateAgeLine(const RatesStamp& stamp, std::string_view today) {
  if (!stamp.update.FromFeed()) return "Cambios introducidos a mano.";
  const long long age = AgeInDays(stamp.update.date, today);
  const std::string when = age == 0 ? "de hoy" : age == 1 ? "de ayer" : "de hace " + Days(age);
  return "Cambios " + FromFeed(stamp.update) + ", " + when + ".";
}

std::string RatesSourceLine(const RatesStamp& stamp, const TTablaMonedas& tabla) {
  // The rows by where their rates came from, in the order the origins first appear; the last
  // update's origin leads when a row has it.
  std::vector<RateOrigin> origins;
  std::vector<std::vector<std::string>> currencies;
  std::vector<std::string> by_hand;
  for (int n = 1; n < kNumeroMonedas; ++n) {
    const std::string& moneda = tabla[static_cast<std::size_t>(n)].Moneda;
    if (moneda.empty()) continue;
    const RateOrigin& origin = stamp.rows[static_cast<std::size_t>(n)];
    if (!origin.FromFeed()) {
      by_hand.push_back(moneda);
      continue;
    }
    std::size_t i = 0;
    while (i < origins.size() && !(origins[i] == origin)) ++i;
    if (i == origins.size()) {
      origins.push_back(origin);
      currencies.emplace_back();
    }
    currencies[i].push_back(moneda);
    if (origin == stamp.update && i != 0) {
      std::swap(origins[0], origins[i]);
      std::swap(currencies[0], currencies[i]);
    }
  }
  if (origins.empty()) return by_hand.empty() ? std::string() : "Cambios introducidos a mano";
  std::string line = "Cambios " + FromFeed(origins[0]);
  for (std::size_t i = 1; i < origins.size(); ++i) {
    line += "; " + List(currencies[i]) + ", " + FromFeed(origins[i]);
  }
  if (!by_hand.empty()) {
    line += "; " + List(by_hand) +
            (by_hand.size() == 1 ? ", introducido a mano" : ", introducidos a mano");
  }
  return line;
}

}  // namespace dravello
