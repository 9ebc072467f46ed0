#include "SettingsPath.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace dravello {

std::string ChooseSettingsFile(const SettingsPlaces& places,
                               const std::function<bool(const std::string&)>& file_exists,
                               const std::function<bool(const std::string&)>& folder_writable) {
  const std::string beside = places.program_dir + places.program_name + ".INI";
  if (file_exists(beside) || folder_writable(places.program_dir)) return beside;

  std::string config = places.xdg_config_home;
  if (config.empty() || config.front() != '/') {
    if (places.home.empty() || places.home.front() != '/') return beside;
    config = places.home + "/.config";
  }
  if (config.back() != '/') config += '/';
  return config + "CalculadoraDravello/CalculadoraDravello.INI";
}

std::string ChooseSettingsFile(const std::string& program_dir, const std::string& program_name) {
  const auto env = [](const char* name) {
    const char* value = std::getenv(name);
    return std::string(value ? value : "");
  };
  const SettingsPlaces places{program_dir, program_name, env("XDG_CONFIG_HOME"), env("HOME")};
  return ChooseSettingsFile(
      places,
      [](const std::string& file) {
        std::error_code ec;
        return std::filesystem::is_regular_file(file, ec);
      },
      [](const std::string& folder) { return ::access(folder.c_str(), W_OK) == 0; });
}

void PrepareSettingsFolder(const std::string& settings_file) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(settings_file).parent_path(), ec);
}

}  // namespace dravello
