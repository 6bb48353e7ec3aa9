#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Load figures for corvale-service on loopback:
#   1. the time of a cache miss answered from the offline catalog (first lookup of a name),
#   2. requests per second and latency percentiles of cached /similar answers, 64 connections.
# Usage: bash bench/service-load.sh [seconds]   (needs build/Service/corvale-service, wrk, curl)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
DURATION=${1:-10}
PORT=${PORT:-18642}
BASE="http://127.0.0.1:$PORT"
scratch=$(mktemp -d)
"$BUILD_DIR/Service/corvale-service" --listen "127.0.0.1:$PORT" --providers catalog \
  --cache "$scratch/cache.sqlite" >/dev/null &
pid=$!
trap 'kill "$pid" 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 50); do curl -fsS -o /dev/null "$BASE/version.txt" 2>/dev/null && break; sleep 0.1; done

echo "== cache misses served from the offline catalog (first lookup of each name, curl time_total)"
miss_times=()
for artist in Radiohead Metallica Bj%C3%B6rk Miles%20Davis Daft%20Punk Nirvana Adele Kendrick%20Lamar \
              Bob%20Marley Johnny%20Cash Kraftwerk Portishead The%20Cure Taylor%20Swift Beyonc%C3%A9 ABBA; do
  t=$(curl -s -o /dev/null -w '%{time_total}' "$BASE/similar?artist=$artist&format=tagged")
  miss_times+=("$t")
done
printf '%s\n' "${miss_times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "  %d misses: median %.2f ms, max %.2f ms\n", NR, a[int((NR+1)/2)]*1000, a[NR]*1000}'
t=$(curl -s -o /dev/null -w '%{time_total}' "$BASE/similar?artist=Radiohead&format=tagged")
awk -v t="$t" 'BEGIN {printf "  the same name again (cached): %.2f ms\n", t * 1000}'

echo "== cached /similar answers: wrk, 2 threads, 64 connections, ${DURATION}s"
wrk -t2 -c64 -d"${DURATION}s" --latency "$BASE/similar?artist=Radiohead&format=tagged"
