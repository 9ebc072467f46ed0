#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/ventana.png, the picture of the window in the README and the AppStream metadata,
# from the real program under Xvfb. Run it again after a change to the window's look.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target CalculadoraDravello
/usr/bin/python3 scripts/screenshot.py build/src/shell/CalculadoraDravello docs/ventana.png
