#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Draws the cover pictures of the curated picks (our own artwork: a colour field and the
# title) into Service/data/covers/. Needs imagemagick and the DejaVu fonts; the results
# are committed.
set -euo pipefail
cd "$(dirname "$0")/../Service/data/covers"
make() { # file, top colour, bottom colour, title
  convert -size 128x128 "gradient:$2-$3" \
    -fill 'rgba(255,255,255,0.85)' -draw 'circle 64,64 64,24' \
    -font DejaVu-Sans-Bold -fill '#202020' -gravity center -pointsize 13 -annotate +0+0 "$4" \
    -strip "PNG8:$1"
}
make ok-computer.png '#7aa6c2' '#1f3b4d' 'OK Computer'
make kind-of-blue.png '#1e3a8a' '#0b1026' 'Kind of Blue'
make homogenic.png '#d8b4fe' '#4c1d95' 'Homogenic'
make discovery.png '#fde047' '#b45309' 'Discovery'
make dummy.png '#9ca3af' '#111827' 'Dummy'
make bridge-over-troubled-water.png '#a7f3d0' '#065f46' 'Bridge'
