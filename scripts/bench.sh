#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the benchmarks with optimisation and runs them; each figure
# is the median of 10 repetitions.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DDRAVELLO_BENCH=ON
cmake --build build-bench -j "$(nproc)" --target engine_bench journal_bench tape_bench tape_save_bench
build-bench/bench/engine_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_min_time=0.2 | grep -E '^(Benchmark|-|BM_.*_median)'
build-bench/bench/journal_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  | grep -E '^(Benchmark|-|BM_.*_median)'
build-bench/bench/tape/tape_bench --benchmark_repetitions=10 \
  --benchmark_report_aggregates_only=true | grep -E '^(Benchmark|-|BM_.*_median)'
build-bench/bench/tape/tape_save_bench --benchmark_filter='BM_SaveMillionLines/' \
  --benchmark_repetitions=10 --benchmark_report_aggregates_only=true | grep -E '^(Benchmark|-|BM_.*_median)'
build-bench/bench/tape/tape_save_bench --benchmark_filter=Pdf | grep -E '^(Benchmark|-|BM_)'
