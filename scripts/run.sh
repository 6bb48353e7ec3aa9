#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts Corvale from build/: first its local similar-artist service (the offline catalog
# first, so it answers without a network), waits until it listens, then the app; the
# service stops when the app exits. Set CORVALE_SERVICE_ARGS to pass other options.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
SERVICE="$BUILD_DIR/Service/corvale-service"
LISTEN=${CORVALE_SERVICE_LISTEN:-127.0.0.1:8642}

service_pid=""
stop_service() { [ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null || true; }
trap stop_service EXIT

if curl -fsS -o /dev/null "http://$LISTEN/version.txt" 2>/dev/null; then
  echo "run: a similar-artist service already answers on $LISTEN"
elif [ -x "$SERVICE" ]; then
  # shellcheck disable=SC2086
  "$SERVICE" --listen "$LISTEN" --providers catalog,listenbrainz,lastfm ${CORVALE_SERVICE_ARGS:-} &
  service_pid=$!
  for _ in $(seq 50); do
    curl -fsS -o /dev/null "http://$LISTEN/version.txt" 2>/dev/null && break
    kill -0 "$service_pid" 2>/dev/null || { echo "run: corvale-service did not start" >&2; exit 1; }
    sleep 0.1
  done
else
  echo "run: $SERVICE is not built; Corvale will find no similar artists" >&2
fi

"$BUILD_DIR/corvale" "$@"
