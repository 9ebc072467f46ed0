// SPDX-License-Identifier: GPL-3.0-or-later
#include "SettingsPath.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace dravello {

namespace {

// The user's own settings file; empty when there is no folder for it.
std::string UserSettingsFile(const SettingsPlaces& places) {
  std::string config = places.xdg_config_home;
  if (config.empty() || config.front() != '/') {
    if (places.home.empty() || places.home.front() != '/') return std::string();
    config = places.home + "/.config";
  }
  if (config.back() != '/') config += '/';
  return config + "CalculadoraDravello/CalculadoraDravello.INI";
}

// $HOME, or the home folder of the user's account when the variable is unset or not absolute.
std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  std::vector<char> buffer(16384);
  struct passwd entry;
  struct passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
      found != nullptr && found->pw_dir != nullptr) {
    return found->pw_dir;
  }
  return std::string();
}

}  // namespace

std::string MenuEntryBesideInstalledProgram(const std::string& program_dir) {
  return program_dir + DRAVELLO_DATA_FROM_BIN
         "/applications/org.dravello.CalculadoraDravello.desktop";
}

std::string ChooseSettingsFile(const SettingsPlaces& places,
                               const std::function<bool(const std::string&)>& file_exists,
                               const std::function<bool(const std::string&)>& folder_writable) {
  if (file_exists(MenuEntryBesideInstalledProgram(places.program_dir))) {
    return UserSettingsFile(places);
  }
  const std::string beside = places.program_dir + places.program_name + ".INI";
  if (file_exists(beside) || folder_writable(places.program_dir)) return beside;
  const std::string own = UserSettingsFile(places);
  return own.empty() ? beside : own;
}

std::string ChooseSettingsFile(const std::string& program_dir, const std::string& program_name) {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  const SettingsPlaces places{program_dir, program_name, xdg ? xdg : "", HomeFolder()};
  return ChooseSettingsFile(
      places,
      [](const std::string& file) {
        std::error_code ec;
        return std::filesystem::is_regular_file(file, ec);
      },
      [](const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; });
}

void PrepareSettingsFolder(const std::string& settings_file) {
  if (settings_file.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(settings_file).parent_path(), ec);
}

}  // namespace dravello
