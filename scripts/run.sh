#!/usr/bin/env bash
# Installs what is missing, builds in Release and starts Cotalys.
#   scripts/run.sh            the desktop window
#   scripts/run.sh --demo     the offline demo on the bundled CAC 40 histories
#   scripts/run.sh ARGS...    any subcommand of the command line (analyse, scan, backtest...)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh >&2

cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DCOTALYS_BUILD_TESTS=OFF >&2
cmake --build build/release -j "$(nproc)" >&2

exe=build/release/src/cotalys
if [ ! -x "$exe" ]; then
  echo "Le programme n'est pas encore disponible dans cette version." >&2
  exit 1
fi
if [ "${1:-}" = "--demo" ]; then
  # The offline quote service on loopback, the bundled histories moved to end last week, and
  # the window pointed at it: loading, the scanner and the backtest need no network. The service
  # takes a free port (or COTALYS_DEMO_PORT) and the window is given the address it prints, so
  # it never reaches another service that holds a port.
  started=$(mktemp)
  "$exe" serve-quotes --data data/demo --port "${COTALYS_DEMO_PORT:-0}" --shift-to-today \
    > "$started" &
  server=$!
  trap 'kill "$server" 2>/dev/null || true; rm -f "$started"' EXIT
  url=""
  for _ in $(seq 100); do
    url=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$started" || true)
    [ -n "$url" ] && break
    kill -0 "$server" 2>/dev/null || { echo "Le service de cotations n'a pas demarre." >&2; exit 1; }
    sleep 0.1
  done
  [ -n "$url" ] || { echo "Le service de cotations ne repond pas." >&2; exit 1; }
  cat "$started" >&2
  shift
  COTALYS_QUOTE_HOST="$url" "$exe" "$@"
  exit
fi
exec "$exe" "$@"
