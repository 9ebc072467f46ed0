// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

namespace dravello {

// The first page of the user's manual (HTML), which F1 opens. An installed copy (its prefix
// holds its menu entry, see MenuEntryBesideInstalledProgram) has it under the prefix's
// documents, PREFIX/share/doc/calculadora-dravello/manual/index.html; any other copy (a build
// folder) in the folder "manual" beside the executable. `program_dir` ends in '/'. The file
// may be missing all the same (documents left out of an installation, a copied executable).
std::string ManualFile(const std::string& program_dir,
                       const std::function<bool(const std::string&)>& file_exists);

// The same on the real file system.
std::string ManualFile(const std::string& program_dir);

}  // namespace dravello
