#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Rewrites the expected transcripts of the golden cases from the current build; review the
# result with `git diff tests/replay/cases`. Optional arguments: case names to rewrite.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target dravello-replay >/dev/null
replay=$PWD/build/tools/replay/dravello-replay
cases=tests/replay/cases
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for f in "$cases"/*.keys; do names+=("$(basename "$f" .keys)"); done
fi
for name in "${names[@]}"; do
  tests/replay/run_golden.sh "$replay" "$cases" "$name" --update
done
echo "rewrote ${#names[@]} transcripts"
