#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a build folder (cpack -G DEB) and checks it as a packager would:
# lintian reports no error; its dependencies name the shared libraries the program links and what
# it needs beside them; unpacked into a throw-away root (dpkg-deb -x, nothing is installed on
# this machine) it holds the program, its modules, its menu entry, icons, AppStream data, manual
# page, copyright, changelog and user's manual, and the program there runs.
#   check-deb.sh BUILD_DIR VERSION
set -uo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail=0

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "cpack failed"
  exit 1
fi
deb=$(ls "$work"/out/*.deb)
[ "$(basename "$deb")" = "calculadora-dravello_${version}_$(dpkg --print-architecture).deb" ] ||
  { echo "unexpected package name $(basename "$deb")"; fail=1; }

# lintian as root needs to be told; errors fail, warnings are shown.
lintian --allow-root --fail-on error "$deb" || { echo "lintian reports errors"; fail=1; }

depends=$(dpkg-deb -f "$deb" Depends)
names=" $(sed -E 's/ \([^)]*\)//g; s/,//g' <<<"$depends") "
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
    libqt6network6 libqt6charts6 libturbojpeg0 qt6-qpa-plugins fonts-liberation qt6-translations-l10n \
    ca-certificates; do
  [[ "$names" == *" $package "* ]] || { echo "Depends lacks $package: $depends"; fail=1; }
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || { echo "version is not $version"; fail=1; }

root="$work/root"
dpkg-deb -x "$deb" "$root"
for path in usr/bin/CalculadoraDravello \
    usr/share/applications/org.dravello.CalculadoraDravello.desktop \
    usr/share/metainfo/org.dravello.CalculadoraDravello.metainfo.xml \
    usr/share/icons/hicolor/48x48/apps/calculadora-dravello.png \
    usr/share/icons/hicolor/scalable/apps/calculadora-dravello.svg \
    usr/share/man/man1/CalculadoraDravello.1.gz \
    usr/lib/calculadora-dravello/modules/libdravello-ondemand.so \
    usr/lib/calculadora-dravello/modules/libdravello-net.so \
    usr/lib/calculadora-dravello/modules/libdravello-chart.so \
    usr/share/doc/calculadora-dravello/copyright \
    usr/share/doc/calculadora-dravello/changelog.gz \
    usr/share/doc/calculadora-dravello/manual/index.html; do
  [ -e "$root/$path" ] || { echo "the package lacks /$path"; fail=1; }
done
[ -x "$root/usr/bin/CalculadoraDravello" ] || { echo "the program is not executable"; fail=1; }
got=$(env -u DISPLAY "$root/usr/bin/CalculadoraDravello" --version 2>&1)
[ "$got" = "CalculadoraDravello $version" ] || { echo "the packaged program says: $got"; fail=1; }
unexpected=$(cd "$root" && find . -type f ! -path './usr/*')
[ -z "$unexpected" ] || { echo "files outside /usr: $unexpected"; fail=1; }

if [ "$fail" -ne 0 ]; then echo "package check failed"; exit 1; fi
echo "package check passed: $(basename "$deb")"
