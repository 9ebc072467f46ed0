// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "TMoneda.h"

namespace dravello {

class PrivateProfile;

// Where a rate came from: the day of the feed's rates (YYYY-MM-DD) and the host that served
// them. A rate typed by hand has neither.
struct RateOrigin {
  std::string date;
  std::string host;

  bool FromFeed() const { return !date.empty(); }
  bool operator==(const RateOrigin&) const = default;
};

// What section CAMBIOS of the settings file keeps about the rates, besides the feeds' addresses:
// the last update from the feed that the user accepted (keys Fecha and Origen), where the rate
// of each row came from (Fecha1 to Fecha6, Origen1 to Origen6), and whether the rates are
// updated at start-up when they are older than a number of days (ActualizarAlAbrir, Dias).
struct RatesStamp {
  static constexpr int kDefaultMaxAgeDays = 7;
  static constexpr int kLongestMaxAgeDays = 365;
  static constexpr std::string_view kSection = "CAMBIOS";

  RateOrigin update;
  std::array<RateOrigin, kNumeroMonedas> rows;  // [0], the base, is never used
  bool update_at_start = false;
  int max_age_days = kDefaultMaxAgeDays;

  // From `ini`. A date that is not a real day counts as none, and so does its host; a flag
  // other than "1" is off; a number of days that is not a whole number from 1 to
  // kLongestMaxAgeDays is the default.
  static RatesStamp Read(const PrivateProfile& ini);
  // Into `ini`. A key that is missing and would take its default value is not added, so a file
  // that never had these keys gets none.
  void WriteTo(PrivateProfile& ini) const;

  // Whether start-up must fetch the rates: the user asked for it and the last update is older
  // than max_age_days on `today` (or there has been none).
  bool NeedsStartupUpdate(std::string_view today) const;
};

// How the user knows a host: "BCE" for the European Central Bank's, the host itself otherwise.
std::string SourceName(std::string_view host);

// The texts below are Windows-1252. `today` is YYYY-MM-DD.

// What the rate panel says of the rate of row `row`: "Cambio del 07/12/2026 (BCE)", with
// ", hace 9 días" when it is older than the stamp's number of days; "Cambio introducido a mano";
// for the base, "Moneda base: su cambio es siempre 1".
std::string RateNote(const RatesStamp& stamp, int row, std::string_view today);

// The age of the last update, for the currency dialog: "Cambios del 07/12/2026 (BCE), de hace
// 9 días." ("de hoy", "de ayer"); "Cambios introducidos a mano." when there has been none.
std::string UpdateAgeLine(const RatesStamp& stamp, std::string_view today);

// Where the rates of the active rows of `tabla` came from, for the end of a kept tape:
// "Cambios del 07/12/2026 (BCE)", then the rows of other days or sources and those typed by
// hand ("Cambios del 07/12/2026 (BCE); XYZ, introducido a mano"); "Cambios introducidos a mano"
// when none came from a feed; empty when the table has no currency besides the base.
std::string RatesSourceLine(const RatesStamp& stamp, const TTablaMonedas& tabla);

}  // namespace dravello
