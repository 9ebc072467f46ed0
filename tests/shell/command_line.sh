#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program's command line, with no display at all: --help and --version answer and exit
# 0, a wrong command line says so on standard error and exits 2 without starting, and the
# toolkit's own options still reach Qt.
#   command_line.sh PROGRAM VERSION
program=$1
version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# No display, no platform chosen: starting the window here would fail.
no_display=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM HOME="$work"
  XDG_CONFIG_HOME="$work/config")

run() {  # expected-status description arguments...
  local expected=$1 what=$2
  shift 2
  timeout 10 "${no_display[@]}" "$program" "$@" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -eq "$expected" ] || fail "$what: status $status, expected $expected ($(head -c 300 "$work/err"))"
}

for option in --help -h; do
  run 0 "$option" "$option"
  grep -q '^Uso: CalculadoraDravello \[OPCIONES\]$' "$work/out" || fail "$option: no usage line"
  [ -s "$work/err" ] && fail "$option wrote on standard error: $(head -c 200 "$work/err")"
done
for option in --version -v; do
  run 0 "$option" "$option"
  [ "$(cat "$work/out")" = "CalculadoraDravello $version" ] || fail "$option printed '$(cat "$work/out")'"
done
timeout 10 "${no_display[@]}" "$program" --help >/dev/full 2>/dev/null
status=$?
[ "$status" -eq 1 ] || fail "--help on a full disk: status $status, expected 1"

for args in "--frobnicate" "-x" "-style" "extra-argument" "--help=yes"; do
  # shellcheck disable=SC2086
  run 2 "'$args'" $args
  [ -s "$work/out" ] && fail "'$args' wrote on standard output"
  [ -s "$work/err" ] || fail "'$args' gave no message"
  grep -q 'CalculadoraDravello --help' "$work/err" || fail "'$args': message does not point to --help"
done

# The toolkit's options go on to Qt: with -platform offscreen the window starts without a
# display (it would abort otherwise) and runs until it is ended.
"${no_display[@]}" "$program" -platform offscreen -style Fusion -reverse >"$work/out" 2>&1 &
pid=$!
sleep 2
if kill -0 "$pid" 2>/dev/null; then
  kill "$pid"
  wait "$pid" 2>/dev/null
else
  wait "$pid"
  fail "-platform offscreen -style Fusion: the program ended with status $? ($(head -c 300 "$work/out"))"
fi

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "command line checks passed"
