#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up and memory of corvale on a private X server (Xvfb), beside a minimal Qt Widgets
# window built with the same Qt (build/bench/minimal_window), in the same run:
#   1. exec to the first painted frame, 10 runs each: minimum and median, and their ratio;
#      corvale starts with five saved lookups and its local service answering;
#   2. exec to the banner's frame loaded;
#   3. resident memory after 10 s, with and without the banner (the app's own process, and
#      with the web engine's helper processes).
# Usage: bash bench/startup.sh [runs]     (needs Xvfb, a build in build/)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
RUNS=${1:-10}
PORT=${PORT:-18652}
scratch=$(mktemp -d)
display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
"$BUILD_DIR/Service/corvale-service" --listen "127.0.0.1:$PORT" --providers catalog --cache "$scratch/cache.sqlite" >/dev/null 2>&1 &
service=$!
trap 'kill $xvfb $service 2>/dev/null || true; rm -rf "$scratch"' EXIT
sleep 1
export DISPLAY=$display QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME=$scratch/config XDG_RUNTIME_DIR=$scratch/runtime
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
[ "$(id -u)" -eq 0 ] && export QTWEBENGINE_DISABLE_SANDBOX=1   # the web engine refuses root otherwise
mkdir -p "$XDG_CONFIG_HOME/corvale" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
settings() { # banner on or off
  printf '{"ServiceURL":"http://127.0.0.1:%s","ShowBanner":%s,"CorrelationLookupNodes":["Massive Attack","Radiohead","Björk","Portishead","Air"]}\n' "$PORT" "$1" \
    > "$XDG_CONFIG_HOME/corvale/defaults.json"
}

# Milliseconds from exec to the line the program prints ("<what> <ms since the epoch>").
measure() { # what, command...
  local what=$1; shift
  local start end
  start=$(date +%s%3N)
  end=$(dbus-run-session -- "$@" 2>/dev/null | awk -v w="$what" '$1 == w { print $2 }' | head -1)
  echo $((end - start))
}
stats() { sort -n | awk '{ a[NR] = $1 } END { printf "%d %d", a[1], a[int((NR + 1) / 2)] }'; }

floor=$(for _ in $(seq "$RUNS"); do measure first-paint "$BUILD_DIR/bench/minimal_window"; done | stats)
read -r floor_min floor_med <<<"$floor"
echo "== exec to the first painted frame, $RUNS runs (ms): min, median, and against the floor"
echo "minimal Qt window        $floor_min $floor_med"
for banner in false true; do
  settings $banner
  app=$(for _ in $(seq "$RUNS"); do CORVALE_REPORT_FIRST_PAINT=1 measure first-paint "$BUILD_DIR/corvale"; done | stats)
  read -r app_min app_med <<<"$app"
  label="corvale, banner $([ $banner = true ] && echo on || echo off)"
  awk -v l="$label" -v a="$app_min" -v b="$floor_min" -v c="$app_med" -v d="$floor_med" \
    'BEGIN { printf "%-24s %d %d   (%.2fx, %.2fx)\n", l, a, c, a / b, c / d }'
done

settings true
banner=$(for _ in $(seq 3); do CORVALE_REPORT_BANNER=1 measure banner "$BUILD_DIR/corvale"; done | stats)
echo "== exec to the banner's frame loaded, 3 runs (ms): min, median"
echo "corvale             $banner"

rss() { # banner on or off
  settings "$1"
  dbus-run-session -- "$BUILD_DIR/corvale" >/dev/null 2>&1 &
  local runner=$!
  sleep 10
  local app
  app=$(pgrep -n -x corvale)
  local own total
  own=$(awk '/VmRSS/ { print $2 }' "/proc/$app/status")
  total=$own
  for child in $(pgrep -P "$app" 2>/dev/null) $(pgrep -f QtWebEngineProcess 2>/dev/null); do
    total=$((total + $(awk '/VmRSS/ { print $2 }' "/proc/$child/status" 2>/dev/null || echo 0)))
  done
  kill "$app" 2>/dev/null; wait "$runner" 2>/dev/null || true
  echo "$((own / 1024)) $((total / 1024))"
}
echo "== resident memory after 10 s (MiB): the app, the app with the web engine's processes"
echo "without the banner  $(rss false)"
echo "with the banner     $(rss true)"
