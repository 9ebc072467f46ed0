// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReplayOptions.h"

#include <charconv>
#include <string_view>

#include "Cp1252.h"

namespace dravello {

namespace {

// Decimals beyond this make no sense on a display and would only make every text huge.
constexpr int kMaxDecimalsArgument = 1000;

bool ParseSeparator(std::string_view value, char& out) {
  const auto bytes = Utf8ToCp1252(value);
  if (!bytes || bytes->size() != 1) return false;
  out = (*bytes)[0];
  return true;
}

}  // namespace

bool ParseReplayOptions(int argc, char** argv, ReplayOptions& options, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    std::string_view value;
    bool has_value = false;
    if (arg == "--trace") {
      options.trace = true;
      continue;
    }
    if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      has_value = true;
    }
    const bool known = arg == "--ini" || arg == "--decimals" || arg == "--decimal-separator" ||
                       arg == "--thousands-separator";
    if (!known) {
      error = "unknown argument: " + std::string(argv[i]);
      return false;
    }
    if (!has_value) {
      if (i + 1 >= argc) {
        error = std::string(arg) + " needs a value";
        return false;
      }
      value = argv[++i];
    }
    if (arg == "--ini") {
      options.ini = std::string(value);
    } else if (arg == "--decimals") {
      int n = 0;
      const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), n);
      if (ec != std::errc() || ptr != value.data() + value.size() || n < -kMaxDecimalsArgument ||
          n > kMaxDecimalsArgument) {
        error = "--decimals needs an integer from -1000 to 1000, not '" + std::string(value) + "'";
        return false;
      }
      options.decimals = n;
    } else {
      char& target =
          arg == "--decimal-separator" ? options.separators.decimal : options.separators.thousands;
      if (!ParseSeparator(value, target)) {
        error = std::string(arg) + " needs one character with a Windows-1252 byte, not '" +
                std::string(value) + "'";
        return false;
      }
    }
  }
  return true;
}

}  // namespace dravello
