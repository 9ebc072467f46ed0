#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up maps neither Qt Network nor Qt Charts, nor the program's modules that link them:
# without the update at start-up the window comes up without them; with it, and old rates, the
# network module is loaded for the fetch, and the charts still are not.
#
#   startup_modules.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
pid=
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
cp "$program" "$(dirname "$program")"/libdravello-*.so "$work"/

# Starts the program over the settings `$1` and prints its mapped libraries after `$2`, once the
# window is up (its platform plugin mapped), or as soon as they include `$3`.
maps_after_start() {
  printf '[MONEDAS]\r\nMoneda1=USD\r\n[CAMBIOS]\r\nFuente=http://127.0.0.1:1/\r\n%s' "$1" \
    > "$work/CalculadoraDravello.INI"
  QT_QPA_PLATFORM=offscreen HOME="$work" XDG_CACHE_HOME="$work" "$work/CalculadoraDravello" \
    2>/dev/null &
  pid=$!
  for _ in $(seq 300); do
    if grep -q libqoffscreen "/proc/$pid/maps" 2>/dev/null; then break; fi
    sleep 0.1
  done
  for _ in $(seq "$2"); do
    if grep -q "$3" "/proc/$pid/maps"; then break; fi
    sleep 0.1
  done
  awk '{print $6}' "/proc/$pid/maps" | sort -u
  kill "$pid"
  wait "$pid" || true
  pid=
}

status=0
without=$(maps_after_start $'ActualizarAlAbrir=0\r\nFecha=2000-01-01\r\n' 20 nothing)
with=$(maps_after_start $'ActualizarAlAbrir=1\r\nFecha=2000-01-01\r\n' 300 libQt6Network)
for lib in libQt6Network libQt6Charts libdravello-net libdravello-chart; do
  if grep -q "$lib" <<<"$without"; then echo "FAILED: $lib mapped at start-up"; status=1; fi
done
for lib in libQt6Network libdravello-net; do
  if ! grep -q "$lib" <<<"$with"; then echo "FAILED: $lib not mapped for the update"; status=1; fi
done
for lib in libQt6Charts libdravello-chart; do
  if grep -q "$lib" <<<"$with"; then echo "FAILED: $lib mapped for the update"; status=1; fi
done
[ "$status" -eq 0 ] && echo "ok: start-up maps no network and no charts"
exit "$status"
