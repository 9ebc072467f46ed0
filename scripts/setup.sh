#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing the calculator needs.
# Does nothing when all of them are present already; needs root (or sudo) otherwise.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libqt6printsupport6
  libturbojpeg0-dev fonts-liberation
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth
  groff-base man-db
  dpkg-dev file lintian
  libjpeg-turbo-progs appstream desktop-file-utils libx11-dev
  xdotool x11-utils x11-xserver-utils imagemagick xclip dbus-daemon at-spi2-core
  python3-gi python3-pyatspi gir1.2-atspi-2.0
  cups cups-filters poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
