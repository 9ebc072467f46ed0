#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One style for the C and C++ files git tracks, the one of .clang-format.
#
#   bash scripts/format.sh           formats every file that is out of that style, in place
#   bash scripts/format.sh --check   only lists them; exit status 1 if there are any
#                                    (scripts/test.sh runs this)
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = "--check" ]; then check=1; fi

if ! files=$(git ls-files '*.cpp' '*.h' '*.c' 2>/dev/null); then
  echo "format.sh: not a git checkout: the tracked files are unknown" >&2
  exit 1
fi
mapfile -t files <<<"$files"

if [ "$check" -eq 1 ]; then
  report=$(mktemp)
  trap 'rm -f "$report"' EXIT
  if ! clang-format --dry-run --Werror "${files[@]}" 2>"$report"; then
    grep -o '^[^:]*:[0-9]*:[0-9]*: error' "$report" | cut -d: -f1 | sort -u |
      sed 's/^/out of format: /' >&2
    echo "format.sh: bash scripts/format.sh formats them" >&2
    exit 1
  fi
else
  clang-format -i "${files[@]}"
fi
