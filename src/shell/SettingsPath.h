#pragma once

#include <functional>
#include <string>

namespace dravello {

// Where the program runs from and the environment that places the fallback settings file.
struct SettingsPlaces {
  std::string program_dir;      // the executable's folder, ending in '/'
  std::string program_name;     // the executable's name without folder and extension
  std::string xdg_config_home;  // $XDG_CONFIG_HOME; empty when unset
  std::string home;             // $HOME; empty when unset
};

// The settings file: beside the executable (program_dir + program_name + ".INI") when that
// file exists or its folder is writable, so a copied or unpacked program keeps its settings
// with it. Otherwise, as for an installed program whose folder the user cannot write,
// $XDG_CONFIG_HOME/CalculadoraDravello/CalculadoraDravello.INI, with ~/.config when the
// variable is unset, empty or not an absolute path. When neither variable gives a folder the
// file beside the executable is used all the same (it is then only read).
std::string ChooseSettingsFile(const SettingsPlaces& places,
                               const std::function<bool(const std::string&)>& file_exists,
                               const std::function<bool(const std::string&)>& folder_writable);

// The same on the real file system and environment.
std::string ChooseSettingsFile(const std::string& program_dir, const std::string& program_name);

// Creates the folder that holds `settings_file` when it is missing, so that the first save
// can create the file. Failures are left to that save, which reports them.
void PrepareSettingsFolder(const std::string& settings_file);

}  // namespace dravello
