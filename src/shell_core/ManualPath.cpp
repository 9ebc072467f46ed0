// SPDX-License-Identifier: GPL-3.0-or-later
#include "ManualPath.h"

#include <filesystem>
#include <system_error>

#include "SettingsPath.h"

namespace dravello {

std::string ManualFile(const std::string& program_dir,
                       const std::function<bool(const std::string&)>& file_exists) {
  const bool installed = file_exists(MenuEntryBesideInstalledProgram(program_dir));
  const std::filesystem::path page =
      program_dir + (installed ? DRAVELLO_DOC_FROM_BIN "/manual/index.html" : "manual/index.html");
  return page.lexically_normal().string();
}

std::string ManualFile(const std::string& program_dir) {
  return ManualFile(program_dir, [](const std::string& file) {
    std::error_code ec;
    return std::filesystem::is_regular_file(file, ec);
  });
}

}  // namespace dravello
