#!/usr/bin/env bash
# Installs what is missing, builds the calculator and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
if [ -x build/src/shell/CalculadoraDravello ]; then
  exec build/src/shell/CalculadoraDravello "$@"
fi
# Until the window exists: a short demonstration of the engine through the replay tool.
printf '1234,5+0,5=*2=A\n7/0=\nL' | build/tools/replay/dravello-replay
