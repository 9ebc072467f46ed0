// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace dravello {

// Parts of the program that are libraries of their own, loaded only when first needed so that
// start-up does not pay for what they link (the network, the charts): module NAME is the file
// libNAME.so. It is looked for beside the executable (a build folder), then in the folder where
// an install puts it (DRAVELLO_MODULE_DIR, relative to the executable's folder). Only a module of
// the program's own build is taken: its symbol kModuleBuildSymbol (ProgramModuleBuild.cpp, which
// CMake's dravello_module() compiles into each) must name the build of the program; one of
// another build is passed over. A module once loaded stays loaded.
//
// The address of `symbol` in module `name`; nullptr, with `error` saying why (no such file,
// a broken library, a module of another build, no such symbol), when it cannot be had.
void* ProgramModuleSymbol(std::string_view name, const char* symbol, std::string& error);

inline constexpr const char* kModuleBuildSymbol = "dravello_module_build";

// Where modules are looked for before any other folder (the tests' build folder); empty for none.
void SetProgramModuleFolder(std::string folder);

}  // namespace dravello
