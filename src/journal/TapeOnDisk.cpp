// SPDX-License-Identifier: GPL-3.0-or-later
#include "TapeOnDisk.h"

#include "PrivateProfile.h"

namespace dravello {

namespace {

constexpr const char* kSection = "CINTA";
constexpr const char* kKey = "GuardarEnDisco";

}  // namespace

bool ReadTapeOnDisk(const std::string& settings_file) {
  return ReadProfileString(settings_file, kSection, kKey, "1") != "0";
}

bool WriteTapeOnDisk(const std::string& settings_file, bool on) {
  return WriteProfileStrings(settings_file, kSection, {{kKey, on ? "1" : "0"}});
}

}  // namespace dravello
