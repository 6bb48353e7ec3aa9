#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a scratch prefix and checks what the desktop needs is where it looks:
# the programs, a valid desktop file that handles corvale: links, the icon at every size, valid
# AppStream metainfo, man pages that render without warnings, and the banner's module.
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
metainfo="$prefix/share/metainfo/org.corvale.Corvale.metainfo.xml"
[ -f "$metainfo" ] || fail "the AppStream metainfo is missing"
appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli refused $metainfo"
grep -q '<launchable type="desktop-id">org.corvale.Corvale.desktop</launchable>' "$metainfo" || fail "the metainfo launches another desktop file"
for page in corvale corvale-service; do
  man_page="$prefix/share/man/man1/$page.1.gz"
  [ -f "$man_page" ] || fail "the man page $page.1.gz is missing"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$man_page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
done
[ -n "$(find "$prefix/lib" -path '*/corvale/libcorvale-banner.so')" ] || fail "the banner's web view module is missing"
unit="$prefix/lib/systemd/user/corvale-service.service"
[ -f "$unit" ] || fail "the service's user unit is missing"
grep -qx "ExecStart=$prefix/bin/corvale-service" "$unit" || fail "the user unit does not name the installed program: $(grep ExecStart "$unit")"
runtime=$(mktemp -d); chmod 700 "$runtime"
XDG_RUNTIME_DIR=$runtime MANPATH="$prefix/share/man" systemd-analyze verify --user "$unit" || fail "systemd-analyze refused $unit"
rm -rf "$runtime"
echo "check-install: programs, desktop file, metainfo, man pages, icons and the user unit are in place"
