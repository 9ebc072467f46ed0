#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what a desktop needs to list the program:
# the executable and its module, a valid menu entry naming an installed icon, the hicolor icons,
# valid AppStream metadata and the manual page.
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

# By component, so that the user's build/install_manifest.txt (the list to uninstall) stays.
cmake --install "$build" --prefix "$prefix" --component Unspecified > /dev/null

fail=0
need() { if [ ! -e "$prefix/$1" ]; then echo "missing: $1"; fail=1; fi; }
need bin/CalculadoraDravello
need share/applications/org.dravello.CalculadoraDravello.desktop
need share/metainfo/org.dravello.CalculadoraDravello.metainfo.xml
for size in 16 22 24 32 48 64 128 256; do
  need "share/icons/hicolor/${size}x${size}/apps/calculadora-dravello.png"
done
need share/icons/hicolor/scalable/apps/calculadora-dravello.svg
need share/man/man1/CalculadoraDravello.1.gz

# The program finds the module of its parts used now and then through its run path.
runpath=$(readelf -d "$prefix/bin/CalculadoraDravello" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
[ -e "${runpath//\$ORIGIN/$prefix/bin}/CalculadoraDravello-ondemand.so" ] ||
  { echo "the module is not in the program's run path ($runpath)"; fail=1; }

desktop="$prefix/share/applications/org.dravello.CalculadoraDravello.desktop"
desktop-file-validate "$desktop" || fail=1
icon=$(sed -n 's/^Icon=//p' "$desktop")
exec_name=$(sed -n 's/^Exec=//p' "$desktop")
[ -e "$prefix/share/icons/hicolor/48x48/apps/$icon.png" ] || { echo "icon $icon not installed"; fail=1; }
[ -x "$prefix/bin/$exec_name" ] || { echo "Exec $exec_name not installed"; fail=1; }
grep -q '^Categories=.*Calculator;' "$desktop" || { echo "not in the calculator category"; fail=1; }
appstreamcli validate --no-net --strict \
  "$prefix/share/metainfo/org.dravello.CalculadoraDravello.metainfo.xml" || fail=1

# Each icon is a PNG of its folder's size (width and height are bytes 16 to 23).
for size in 16 22 24 32 48 64 128 256; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/calculadora-dravello.png"
  read -r w3 w2 w1 w0 h3 h2 h1 h0 < <(od -An -tu1 -j16 -N8 "$png")
  w=$(( (w3 << 24) | (w2 << 16) | (w1 << 8) | w0 ))
  h=$(( (h3 << 24) | (h2 << 16) | (h1 << 8) | h0 ))
  [ "$w" = "$size" ] && [ "$h" = "$size" ] || { echo "${size}x${size} icon is ${w}x${h}"; fail=1; }
done

if [ "$fail" -ne 0 ]; then echo "install check failed"; exit 1; fi
echo "install check passed"
