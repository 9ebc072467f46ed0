// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace dravello {

// Where the running program lives: its folder and its name, which place the settings file
// (DirPrograma + NombrePrograma + ".INI").
struct ProgramPath {
  std::string DirPrograma;     // the folder, ending in the folder separator (AgregaBarra)
  std::string NombrePrograma;  // the file name without its folder and without its extension

  // Splits an executable's full path. The extension is the text after the last point of the
  // file name, removed with the point; a name without a point stays whole.
  static ProgramPath FromExecutable(std::string_view executable);

  // The running executable's, read once from /proc/self/exe. Both texts are empty when the
  // system does not say where the executable is.
  static const ProgramPath& Current();
};

// ProgramPath::Current()'s two texts.
const std::string& DirPrograma();
const std::string& NombrePrograma();

}  // namespace dravello
