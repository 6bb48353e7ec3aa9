#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs everything Corvale needs to build, run and test on Debian 12.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-webengine-dev
  qt6-tools-dev qt6-l10n-tools
  libqt6sql6-sqlite libqt6svg6 libxkbcommon-dev libgl-dev qt6-translations-l10n
  libplist-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-dejavu-core desktop-file-utils appstream man-db systemd lintian
  dbus dbus-x11 xvfb xauth xdotool xdg-utils imagemagick
  mpv mpv-mpris sox
  wrk curl
  clang libclang-rt-14-dev lld
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "install-deps: everything is installed"
  exit 0
fi

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
