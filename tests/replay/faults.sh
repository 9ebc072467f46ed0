#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# dravello-replay under faults of its surroundings: input that cannot be read gives exit status 2,
# output that cannot be written a non-zero status, both with a message on standard error; a
# settings file far too large to be one gives the defaults, at once and without the memory.
#   faults.sh REPLAY SANITIZED   (SANITIZED 1: a sanitizer build, whose memory use is its own)
replay=$1
sanitized=${2:-0}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expect() {  # description expected-status(es, "nonzero") stdout-must-be-empty(0|1)
  local what=$1 expected=$2 empty=$3
  if [ "$expected" = nonzero ]; then
    [ "$status" -ne 0 ] || fail "$what: exit status 0"
  else
    [ "$status" -eq "$expected" ] || fail "$what: exit status $status, expected $expected"
  fi
  [ -s "$work/err" ] || fail "$what: no message on standard error"
  if [ "$empty" = 1 ] && [ -s "$work/out" ]; then fail "$what: wrote a transcript"; fi
}

"$replay" </ >"$work/out" 2>"$work/err"
status=$?
expect "input that is a folder" 2 1

printf '1+2=' | "$replay" <&- >"$work/out" 2>"$work/err"
status=$?
expect "standard input closed" 2 1

printf '1+2=' | "$replay" >/dev/full 2>"$work/err"
status=$?
expect "a full disk" nonzero 0

printf '1+2=' | "$replay" >&- 2>"$work/err"
status=$?
expect "standard output closed" nonzero 0

# Output that fails only after many lines, once the buffer has been written out.
printf '1+2=%.0s' $(seq 2000) | "$replay" --trace >/dev/full 2>"$work/err"
status=$?
expect "a full disk after many lines" nonzero 0

# A settings file of a gigabyte (sparse): the same transcript as no file at all.
truncate -s 1G "$work/huge.INI"
printf '1+2=' | "$replay" >"$work/defaults" 2>&1
(
  # Far less memory than the file would take to read (the sanitizers map much more).
  if [ "$sanitized" != 1 ]; then ulimit -v 400000; fi
  printf '1+2=' | timeout 20 "$replay" --ini "$work/huge.INI" >"$work/out" 2>"$work/err"
)
status=$?
[ "$status" -eq 0 ] || fail "a gigabyte settings file: exit status $status ($(head -c 200 "$work/err"))"
cmp -s "$work/out" "$work/defaults" || fail "a gigabyte settings file does not give the defaults"

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "all faults reported"
