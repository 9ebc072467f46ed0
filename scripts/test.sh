#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, checks the format, builds everything and runs every test: the full
# build under CTest, then the whole program and its tests again, the window included, under
# AddressSanitizer and UndefinedBehaviorSanitizer (the end-to-end tests drive the sanitized
# program too). Both builds treat warnings as errors. Last, each fuzz target of the parsers runs
# its seeds and fuzzes for a few seconds (scripts/fuzz.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/format.sh --check

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDRAVELLO_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDRAVELLO_QT=ON -DDRAVELLO_SANITIZE=ON \
  -DDRAVELLO_WERROR=ON
cmake --build build-asan -j "$jobs"
# A module holds its own copy of code the program holds too; at run time the program's copy is
# the one used, but both register their globals: only a global whose size differs is a fault.
ASAN_OPTIONS=detect_odr_violation=1 LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

bash scripts/fuzz.sh --seconds 5
