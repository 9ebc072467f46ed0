// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace dravello {

// "Guardar la cinta en disco", kept in the settings file as key GuardarEnDisco of section
// [CINTA]: "0" turns it off; anything else, or no key, leaves it on.
bool ReadTapeOnDisk(const std::string& settings_file);
// Writes the key; false (the file unchanged) when the file cannot be written.
bool WriteTapeOnDisk(const std::string& settings_file, bool on);

}  // namespace dravello
