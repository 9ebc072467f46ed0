#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up maps neither Qt Network, Qt Charts nor Qt Print Support, nor the modules that link them
# or hold the currency dialog; with the update at start-up and old rates, the network comes for
# the fetch, and still nothing else.
#   startup_modules.sh PROGRAM
set -uo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$1" "$(dirname "$1")"/libdravello-*.so "$work"/

# The libraries mapped once the window is up (its platform plugin mapped) and `$2` tenths of a
# second later, or as soon as they include `$3`, with `$1` in section CAMBIOS.
maps() {
  printf '[MONEDAS]\r\nMoneda1=USD\r\n[CAMBIOS]\r\nFuente=http://127.0.0.1:1/\r\nFecha=2000-01-01\r\n%s\r\n' \
    "$1" > "$work/CalculadoraDravello.INI"
  QT_QPA_PLATFORM=offscreen HOME="$work" "$work/CalculadoraDravello" 2>/dev/null &
  local pid=$! _
  for _ in $(seq 300); do grep -q libqoffscreen "/proc/$pid/maps" 2>/dev/null && break; sleep 0.1; done
  for _ in $(seq "$2"); do grep -q "$3" "/proc/$pid/maps" && break; sleep 0.1; done
  awk '{print $6}' "/proc/$pid/maps" | sort -u
  kill "$pid"
}

without=$(maps ActualizarAlAbrir=0 20 nothing)
with=$(maps ActualizarAlAbrir=1 300 libQt6Network)
status=0
for lib in libQt6Network libdravello-net libQt6Charts libdravello-chart libQt6PrintSupport \
  libdravello-ondemand; do
  grep -q "$lib" <<<"$without" && { echo "FAILED: $lib mapped at start-up"; status=1; }
  case $lib in *Network | *net) want=0 ;; *) want=1 ;; esac
  grep -q "$lib" <<<"$with"; [ $? -eq "$want" ] || { echo "FAILED: $lib for the update"; status=1; }
done
[ "$status" -eq 0 ] && echo "ok: start-up maps no network, no charts, no printing and no dialog"
exit "$status"
