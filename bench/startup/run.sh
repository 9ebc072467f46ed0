#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the calculator and the toolkit's floor (a bare Qt window of the same size) optimised and
# measures both, interleaved, under Xvfb: time from exec to the window mapped, resident memory,
# CPU time per key, CPU time and wake-ups while idle, each as a ratio to the floor
# (startup_bench.py --help for the options; `--runs 20` for the table in docs/development.md).
set -euo pipefail
cd "$(dirname "$0")/../.."

bash scripts/setup.sh

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVELLO_BENCH=ON > /dev/null
cmake --build build-bench -j "$(nproc)" --target CalculadoraDravello startup_floor
python3 bench/startup/startup_bench.py build-bench/src/shell/CalculadoraDravello \
  build-bench/bench/startup/startup_floor "$@"
