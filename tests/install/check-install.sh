#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what the desktop needs is where it looks:
# the programs, a valid desktop file that handles corvale: links, and the icon at every size.
#   check-install.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "check-install: $*" >&2; exit 1; }
for program in corvale corvale-service; do
  [ -x "$prefix/bin/$program" ] || fail "bin/$program is missing"
done
desktop="$prefix/share/applications/org.corvale.Corvale.desktop"
[ -f "$desktop" ] || fail "the desktop file is missing"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
grep -qx 'MimeType=x-scheme-handler/corvale;' "$desktop" || fail "the desktop file does not handle corvale: links"
grep -qx 'Icon=org.corvale.Corvale' "$desktop" || fail "the desktop file names another icon"
[ -f "$prefix/share/icons/hicolor/scalable/apps/org.corvale.Corvale.svg" ] || fail "the scalable icon is missing"
for size in 16 22 24 32 48 64 128 256 512; do
  png="$prefix/share/icons/hicolor/${size}x${size}/apps/org.corvale.Corvale.png"
  [ -f "$png" ] || fail "the ${size} px icon is missing"
  dims=$(identify -format '%wx%h' "$png")
  [ "$dims" = "${size}x${size}" ] || fail "the ${size} px icon is $dims"
done
echo "check-install: programs, desktop file and icons are in place"
