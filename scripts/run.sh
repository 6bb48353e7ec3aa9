#!/usr/bin/env bash
# Starts Corvale from build/; its local service first, when it has been built.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}

service_pid=""
if [ -x "$BUILD_DIR/Service/corvale-service" ]; then
  "$BUILD_DIR/Service/corvale-service" &
  service_pid=$!
  trap '[ -n "$service_pid" ] && kill "$service_pid" 2>/dev/null || true' EXIT
fi

"$BUILD_DIR/corvale" "$@"
