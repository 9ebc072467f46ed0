// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace dravello {

// Where the program runs from and the environment that places the fallback settings file.
struct SettingsPlaces {
  std::string program_dir;      // the executable's folder, ending in '/'
  std::string program_name;     // the executable's name without folder and extension
  std::string xdg_config_home;  // $XDG_CONFIG_HOME; empty when unset
  std::string home;             // $HOME, or the user's home folder when it is unset
};

// Where an installed copy keeps its menu entry, relative to the executable's folder: an
// install (`cmake --install`, the Debian package) always puts it there, a build folder or a copy
// of the executable never has it.
std::string MenuEntryBesideInstalledProgram(const std::string& program_dir);

// The settings file.
// - An installed copy (its prefix holds its menu entry, see above) always uses the user's own
//   file, $XDG_CONFIG_HOME/CalculadoraDravello/CalculadoraDravello.INI, with ~/.config when the
//   variable is unset, empty or not an absolute path; root included, whose folders can all be
//   written. Empty when neither variable gives a folder: no file is read and a save fails.
// - Any other copy (a build folder, an unpacked or copied program) keeps its settings with it,
//   beside the executable (program_dir + program_name + ".INI"), when that file exists or its
//   folder is writable; otherwise it uses the user's file as an installed copy does (or, with
//   no folder for it, the file beside the executable all the same, which is then only read).
std::string ChooseSettingsFile(const SettingsPlaces& places,
                               const std::function<bool(const std::string&)>& file_exists,
                               const std::function<bool(const std::string&)>& folder_writable);

// The same on the real file system and environment.
std::string ChooseSettingsFile(const std::string& program_dir, const std::string& program_name);

// Creates the folder that holds `settings_file` when it is missing, so that the first save
// can create the file. Failures are left to that save, which reports them.
void PrepareSettingsFolder(const std::string& settings_file);

}  // namespace dravello
