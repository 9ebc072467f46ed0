#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one golden transcript case: REPLAY CASES_DIR NAME [--update].
# NAME.keys is the input, NAME.args (optional) one extra argument per line, NAME.out the
# expected standard output. With --update the output is written to NAME.out instead of compared.
set -euo pipefail
replay=$1 dir=$2 name=$3 mode=${4:-}
cd "$dir"
args=()
if [ -f "$name.args" ]; then mapfile -t args < "$name.args"; fi
actual=$(mktemp)
trap 'rm -f "$actual"' EXIT
status=0
"$replay" "${args[@]}" < "$name.keys" > "$actual" || status=$?
if [ "$status" -ne 0 ]; then
  echo "dravello-replay exited with status $status"
  exit 1
fi
if [ "$mode" = "--update" ]; then
  cp "$actual" "$name.out"
  exit 0
fi
diff -u "$name.out" "$actual"
