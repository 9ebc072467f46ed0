// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace dravello {

// Where the program may fetch rates from, judged on an address already taken apart: `scheme`
// and `host` as a URL parser gives them (lower case, an IPv6 address without brackets).
// HTTPS to any host, or plain HTTP to this computer itself (localhost, 127.0.0.0/8, ::1), which
// never leaves it. Anything else, an empty host included, is refused.
bool FeedAddressAllowed(std::string_view scheme, std::string_view host);

// A redirect is followed only to HTTPS, whatever the first address was.
bool FeedRedirectAllowed(std::string_view scheme, std::string_view host);

// Whether `host` names this computer: "localhost", an IPv4 address 127.x.y.z in dotted decimal,
// or the IPv6 loopback "::1" (also written out in full).
bool IsLocalHost(std::string_view host);

// The addresses used when the settings file names none: today's rates (key Fuente) and those
// of the last 90 days (key Historico).
inline constexpr std::string_view kDefaultFeedAddress =
    "https://www.ecb.europa.eu/stats/eurofxref/eurofxref-daily.xml";
inline constexpr std::string_view kDefaultHistoryAddress =
    "https://www.ecb.europa.eu/stats/eurofxref/eurofxref-hist-90d.xml";

}  // namespace dravello
