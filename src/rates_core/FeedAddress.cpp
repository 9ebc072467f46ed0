// SPDX-License-Identifier: GPL-3.0-or-later
#include "FeedAddress.h"

namespace dravello {

namespace {

// One to three decimal digits worth at most 255.
bool Octet(std::string_view text) {
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return value <= 255;
}

bool LoopbackIpv4(std::string_view host) {
  int parts = 0;
  std::string_view first;
  while (true) {
    const std::size_t dot = host.find('.');
    const std::string_view part = host.substr(0, dot);
    if (!Octet(part)) return false;
    if (parts++ == 0) first = part;
    if (dot == std::string_view::npos) break;
    host.remove_prefix(dot + 1);
  }
  return parts == 4 && first == "127";
}

}  // namespace

bool IsLocalHost(std::string_view host) {
  return host == "localhost" || host == "::1" || host == "0:0:0:0:0:0:0:1" || LoopbackIpv4(host);
}

bool FeedAddressAllowed(std::string_view scheme, std::string_view host) {
  if (host.empty()) return false;
  return scheme == "https" || (scheme == "http" && IsLocalHost(host));
}

bool FeedRedirectAllowed(std::string_view scheme, std::string_view host) {
  return scheme == "https" && !host.empty();
}

}  // namespace dravello
