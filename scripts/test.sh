#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs every test headless: offscreen Qt, a private runtime folder and a private D-Bus session bus.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

runtime=$(mktemp -d)
chmod 700 "$runtime"
trap 'rm -rf "$runtime"' EXIT

export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR="$runtime"
export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu

exec dbus-run-session -- ctest --test-dir "$BUILD_DIR" --output-on-failure -j2 "$@"
