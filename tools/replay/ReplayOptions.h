// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

#include "Formato.h"

namespace dravello {

struct ReplayOptions {
  std::optional<std::string> ini;  // --ini FILE
  std::optional<int> decimals;     // --decimals N
  Separators separators;           // --decimal-separator C, --thousands-separator C
  bool trace = false;              // --trace
};

// Reads the command line; on a bad argument returns false with a message in `error`.
bool ParseReplayOptions(int argc, char** argv, ReplayOptions& options, std::string& error);

}  // namespace dravello
