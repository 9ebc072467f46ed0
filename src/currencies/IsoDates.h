// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dravello {

// Days as the rates feeds write them, YYYY-MM-DD, and as a Spanish reader writes them.

// Whether `text` is a real day of the Gregorian calendar written YYYY-MM-DD.
bool IsIsoDate(std::string_view text);

// Days since 1970-01-01 of `iso`, which must be IsIsoDate; and back.
std::int64_t DayNumber(std::string_view iso);
std::string IsoDate(std::int64_t day_number);

// "07/12/2026" for "2026-12-07"; empty for a text that is not IsIsoDate.
std::string SpanishDate(std::string_view iso);

// Today by the computer's clock and time zone, YYYY-MM-DD.
std::string LocalToday();

}  // namespace dravello
