#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the calculator optimised and measures its start-up under Xvfb: time from exec to the
# window mapped, resident memory, CPU time and wake-ups while idle, CPU time per key. Each
# figure is the median of 10 starts (startup_bench.py --help for the options).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash scripts/setup.sh

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVELLO_BENCH=ON > /dev/null
cmake --build build-bench -j "$(nproc)" --target CalculadoraDravello
python3 bench/startup/startup_bench.py build-bench/src/shell/CalculadoraDravello "$@"
