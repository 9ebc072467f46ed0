// SPDX-License-Identifier: GPL-3.0-or-later
// Compiled into every module of the program (dravello_module() in src/util/CMakeLists.txt): the
// build the module comes from, which the loader compares with its own (ProgramModule.h).

extern "C" __attribute__((visibility("default"))) const char dravello_module_build[] =
    DRAVELLO_BUILD_ID;
