#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets of the parsers that read what others write (clang's libFuzzer with
# AddressSanitizer and UndefinedBehaviorSanitizer, in build-fuzz/) and runs each from its seeds.
#
#   bash scripts/fuzz.sh [--seconds N] [NAME...]
#
# NAME is a folder of fuzz/corpus (settings, paste, feed, replay_keys; all when none is given).
# Each target first runs every hand-written seed (fuzz/corpus/NAME) and every input that earlier
# runs kept (build-fuzz/found/NAME), then fuzzes for N seconds (default 60), keeping there the
# inputs that reach new code. A crash, a leak, undefined behaviour or an input that takes more
# than 10 s fails the run (exit status 1): the input is left in build-fuzz/crashes/ and the end
# of the target's log (build-fuzz/NAME.log) is printed.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=60
names=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    *) names+=("$1"); shift ;;
  esac
done
if [ ${#names[@]} -eq 0 ]; then
  for folder in fuzz/corpus/*/; do names+=("$(basename "$folder")"); done
fi
if ! command -v clang++ >/dev/null; then
  echo "fuzz.sh: clang++ is missing (bash scripts/setup.sh installs it)" >&2
  exit 2
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DDRAVELLO_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" >/dev/null

mkdir -p build-fuzz/crashes
status=0
for name in "${names[@]}"; do
  found=build-fuzz/found/$name
  mkdir -p "$found"
  log=build-fuzz/$name.log
  if build-fuzz/fuzz/"$name"_fuzzer -max_total_time="$seconds" -timeout=10 \
    -artifact_prefix=build-fuzz/crashes/"$name"- "$found" fuzz/corpus/"$name" >"$log" 2>&1; then
    echo "fuzz $name: $(grep -o 'Done [0-9]* runs' "$log" | tail -n 1 || true) in $seconds s, no fault"
  else
    status=1
    echo "fuzz $name: FAILED"
    tail -n 40 "$log"
  fi
done
exit $status
