#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cached /similar answers of corvale-service beside nginx serving the same body from a file,
# on this machine, in one run: requests per second and median latency (wrk) at 1, 8 and 64
# connections. nginx runs as a plain process (one worker, as the service is one thread;
# NGINX_WORKERS=n for more) on a free loopback port, from a configuration in a scratch
# folder; it is installed here with apt-get when missing, never by the application's own
# install script.
# Usage: bash bench/service-vs-nginx.sh [seconds per run]   (needs build/Service/corvale-service, wrk, curl)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
DURATION=${1:-5}
SERVICE="$BUILD_DIR/Service/corvale-service"
[ -x "$SERVICE" ] || { echo "build $SERVICE first" >&2; exit 1; }

if ! command -v nginx >/dev/null && [ ! -x /usr/sbin/nginx ]; then
  echo "== installing nginx (the reference) with apt-get"
  apt-get install -y --no-install-recommends nginx-light >/dev/null
fi
NGINX=$(command -v nginx || echo /usr/sbin/nginx)

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# Servers on the first core, the load generator on the second, when there are two.
server_cpu=() client_cpu=()
if command -v taskset >/dev/null && [ "$(nproc)" -ge 2 ]; then
  server_cpu=(taskset -c 0) client_cpu=(taskset -c 1)
fi

scratch=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

service_port=$(free_port)
"${server_cpu[@]}" "$SERVICE" --listen "127.0.0.1:$service_port" --providers catalog --cache "$scratch/cache.sqlite" >/dev/null 2>&1 &
pids+=($!)
PATH_QUERY="/similar?artist=Radiohead&format=tagged"
for _ in $(seq 100); do curl -fsS -o /dev/null "http://127.0.0.1:$service_port/version.txt" 2>/dev/null && break; sleep 0.1; done
curl -fsS -o "$scratch/body.xml" "http://127.0.0.1:$service_port$PATH_QUERY" # a miss, now cached

nginx_port=$(free_port)
mkdir -p "$scratch/nginx"
# Started as root, nginx's worker reads as an unprivileged user.
chmod go+rx "$scratch"
chmod go+r "$scratch/body.xml"
cat >"$scratch/nginx/nginx.conf" <<CONF
daemon off;
worker_processes ${NGINX_WORKERS:-1};
pid $scratch/nginx/nginx.pid;
error_log $scratch/nginx/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  client_body_temp_path $scratch/nginx/body;
  proxy_temp_path $scratch/nginx/proxy;
  fastcgi_temp_path $scratch/nginx/fastcgi;
  uwsgi_temp_path $scratch/nginx/uwsgi;
  scgi_temp_path $scratch/nginx/scgi;
  keepalive_requests 1000000;
  server {
    listen 127.0.0.1:$nginx_port;
    location = /similar {
      types { }
      default_type "text/xml; charset=utf-8";
      add_header X-Corvale-Source cache;
      alias $scratch/body.xml;
    }
  }
}
CONF
"${server_cpu[@]}" "$NGINX" -p "$scratch/nginx" -c "$scratch/nginx/nginx.conf" &
pids+=($!)
for _ in $(seq 100); do curl -fsS -o /dev/null "http://127.0.0.1:$nginx_port$PATH_QUERY" 2>/dev/null && break; sleep 0.1; done
cmp -s "$scratch/body.xml" <(curl -fsS "http://127.0.0.1:$nginx_port$PATH_QUERY") || { echo "nginx serves another body" >&2; exit 1; }
echo "== the same $(stat -c %s "$scratch/body.xml")-byte body; wrk ${DURATION}s per run; servers: ${server_cpu[*]:-any core}, wrk: ${client_cpu[*]:-any core}"

# "requests/s p50-in-microseconds" of one wrk run.
measure() {
  local url=$1 connections=$2 threads=$(( $2 < 2 ? 1 : 2 ))
  "${client_cpu[@]}" wrk -t"$threads" -c"$connections" -d"${DURATION}s" --latency "$url" | awk '
    /^ *50%/ { v = $2; unit = v; gsub(/[0-9.]/, "", unit); sub(/[a-z]+$/, "", v);
               p50 = unit == "us" ? v : unit == "ms" ? v * 1000 : unit == "s" ? v * 1000000 : v }
    /^Requests\/sec:/ { rps = $2 }
    END { printf "%.0f %.1f\n", rps, p50 }'
}

printf '%-11s %14s %14s %7s   %14s %14s %7s\n' connections "service req/s" "nginx req/s" ratio "service p50" "nginx p50" ratio
for connections in 1 8 64; do
  read -r s_rps s_p50 < <(measure "http://127.0.0.1:$service_port$PATH_QUERY" "$connections")
  read -r n_rps n_p50 < <(measure "http://127.0.0.1:$nginx_port$PATH_QUERY" "$connections")
  awk -v c="$connections" -v sr="$s_rps" -v nr="$n_rps" -v sp="$s_p50" -v np="$n_p50" 'BEGIN {
    printf "%-11s %14d %14d %7.2f   %11.1f us %11.1f us %7.2f\n", c, sr, nr, sr / nr, sp, np, sp / np }'
done
