#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian 12 package that building, running and testing the calculator needs.
# Does nothing when all of them are present already; needs root (or sudo) otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6
  qt6-charts-dev libqt6opengl6-dev
  libqt6network6 ca-certificates
  libturbojpeg0-dev fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  groff-base man-db cmark-gfm
  dpkg-dev file lintian
  libjpeg-turbo-progs appstream desktop-file-utils libx11-dev
  xdotool x11-utils x11-xserver-utils imagemagick xclip dbus-daemon at-spi2-core
  python3-gi python3-pyatspi gir1.2-atspi-2.0
  cups cups-filters poppler-utils
  libreoffice-calc-nogui
  locales qt6-translations-l10n
  qt6-gtk-platformtheme
  clang libclang-rt-14-dev llvm
)

# Locales the tests run under: Spanish, where users run the program, and French, whose thousands
# separator (a narrow no-break space) has no Windows-1252 byte.
locales=(es_ES.UTF-8 fr_FR.UTF-8)

missing_locales() {
  local have l
  have=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z' | tr -d '-')
  for l in "${locales[@]}"; do
    if ! grep -qx "$(echo "$l" | tr 'A-Z' 'a-z' | tr -d '-')" <<<"$have"; then echo "$l"; fi
  done
}

generate_locales() {
  local l
  for l in "${locales[@]}"; do
    # Listed in /etc/locale.gen, so that a later locale-gen keeps them.
    if ! grep -q "^${l} UTF-8" /etc/locale.gen; then
      if grep -q "^# *${l} UTF-8" /etc/locale.gen; then
        $sudo sed -i "s/^# *${l} UTF-8/${l} UTF-8/" /etc/locale.gen
      else
        echo "${l} UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
      fi
    fi
  done
  $sudo locale-gen >/dev/null
}

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ -n "$(missing_locales)" ]; then
  echo "Generating locales: $(missing_locales | tr '\n' ' ')"
  generate_locales
fi
