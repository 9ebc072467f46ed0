#!/usr/bin/env bash
# Puts the licence line "SPDX-License-Identifier: GPL-3.0-or-later" at the top of every source
# file that git tracks and that lacks one, in the comment syntax of its kind: C and C++, CMake,
# shell and Python (after a "#!" line), Qt layouts, resource lists and other XML (after an XML
# declaration), desktop entries and manual pages. Pictures, generated files and test data are
# left alone. A file that already names a licence in its first lines keeps it.
#
#   bash scripts/spdx-headers.sh           adds the line where it is missing
#   bash scripts/spdx-headers.sh --check   only lists those files; exit status 1 if there are any
set -euo pipefail
cd "$(dirname "$0")/.."

id="SPDX-License-Identifier: GPL-3.0-or-later"
check=0
if [ "${1:-}" = "--check" ]; then check=1; fi

# The licence line for `path` in its kind's comment syntax; nothing for files that are not
# source text of this project.
header_for() {
  case "$1" in
    resources/icon.svg) ;;  # drawn by resources/generate.py
    tests/replay/cases/*) ;;  # golden transcripts and their inputs, compared byte for byte
    fuzz/corpus/*) ;;  # the fuzz targets' seeds, read as they stand
    *.cpp | *.h | *.c) printf '%s\n' "// $id" ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.sh | *.py | *.desktop) printf '%s\n' "# $id" ;;
    *.ui | *.qrc | *.xml) printf '%s\n' "<!-- $id -->" ;;
    *.[1-8]) printf '%s\n' ".\\\" $id" ;;
    *)
      # Scripts without an extension (.ci/run).
      if [ "$(head -c 2 "$1")" = "#!" ]; then printf '%s\n' "# $id"; fi
      ;;
  esac
}

if ! files=$(git ls-files 2>/dev/null); then
  echo "spdx-headers.sh: not a git checkout: the tracked files are unknown" >&2
  exit 1
fi

missing=()
while IFS= read -r path; do
  [ -f "$path" ] || continue
  header=$(header_for "$path")
  [ -n "$header" ] || continue
  if head -n 5 "$path" | grep -q 'SPDX-License-Identifier:'; then continue; fi
  missing+=("$path")
  [ "$check" -eq 1 ] && continue
  # After a "#!" line or an XML declaration, which must stay first; otherwise the first line.
  first=$(head -n 1 "$path")
  temp=$(mktemp)
  case "$first" in
    '#!'* | '<?xml'*) { printf '%s\n' "$first" "$header"; tail -n +2 "$path"; } >"$temp" ;;
    *) { printf '%s\n' "$header"; cat "$path"; } >"$temp" ;;
  esac
  cat "$temp" >"$path"  # the file keeps its permissions
  rm -f "$temp"
done <<<"$files"

if [ "$check" -eq 1 ]; then
  if [ ${#missing[@]} -gt 0 ]; then
    echo "these tracked source files lack the line \"$id\":"
    printf '  %s\n' "${missing[@]}"
    echo "bash scripts/spdx-headers.sh adds it"
    exit 1
  fi
  echo "every tracked source file names its licence"
else
  echo "added the licence line to ${#missing[@]} files"
fi
