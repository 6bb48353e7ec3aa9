#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from the build folder, unpacks it into a scratch root and checks
# that what the desktop file and the metainfo name is where they say, that the user unit names
# the packaged program, and that lintian finds nothing to report.
#   check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "check-package: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null) || fail "cpack failed"
deb=$(ls "$scratch"/out/corvale_*_amd64.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no corvale_VERSION_amd64.deb was made"
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

desktop="$root/usr/share/applications/org.corvale.Corvale.desktop"
[ -f "$desktop" ] || fail "no desktop file"
program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$program" ] || fail "the desktop file runs $program, which the package does not hold in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the desktop file's icon $icon is missing"
metainfo="$root/usr/share/metainfo/org.corvale.Corvale.metainfo.xml"
[ -f "$metainfo" ] || fail "no metainfo"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "the metainfo launches $launchable, which is missing"
grep -qx 'ExecStart=/usr/bin/corvale-service' "$root/usr/lib/systemd/user/corvale-service.service" \
  || fail "the user unit does not name /usr/bin/corvale-service"
[ -n "$(find "$root/usr/lib" -path '*/corvale/libcorvale-banner.so')" ] || fail "the banner's module is missing"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the package does not depend on the Qt libraries it links"

report=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep -E '^(E|W): ' || true)
[ -z "$report" ] || fail "lintian reports:
$report"
echo "check-package: $(basename "$deb") unpacks with every file where the desktop looks; lintian is clean"
