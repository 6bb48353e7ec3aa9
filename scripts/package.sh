#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Corvale and its Debian package into build/: corvale_VERSION_amd64.deb, then lintian.
# Install it with: sudo apt install ./build/corvale_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
bash scripts/build.sh
(cd "$BUILD_DIR" && cpack -G DEB)
lintian --tag-display-limit 0 "$BUILD_DIR"/corvale_*_amd64.deb || true
