#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what a desktop needs to list the program:
# the executable and its modules, a valid menu entry naming an installed icon, the hicolor
# icons, valid AppStream metadata, the manual page, and the user's manual: every page of
# docs/manual as HTML, with its pictures.
#   check-install.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
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
for page in "$source"/docs/manual/*.md "$source"/docs/manual/imagenes/*; do
  name=${page#"$source"/docs/manual/}
  need "share/doc/calculadora-dravello/manual/${name%.md}$([[ $name == *.md ]] && echo .html)"
done
# The modules, in the folder that the program looks in, beside its bin folder.
for module in dravello-ondemand dravello-net dravello-chart; do
  found=$(cd "$prefix" && find . -name "lib$module.so" -printf '%h\n')
  if [ -z "$found" ] || ! grep -qxF "..${found#.}/" < <(strings "$prefix/bin/CalculadoraDravello"); then
    echo "lib$module.so is not where the program looks for it: ${found:-nowhere}"
    fail=1
  fi
done

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
