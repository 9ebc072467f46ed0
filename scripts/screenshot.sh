#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the pictures of the program from the real program under Xvfb: docs/ventana.png, the
# window that the README and the AppStream metadata show, and the pictures of the user's manual
# in docs/manual/imagenes/. Run it again after a change to the window's look.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j "$(nproc)" --target CalculadoraDravello
/usr/bin/python3 scripts/screenshot.py build/src/shell/CalculadoraDravello docs
