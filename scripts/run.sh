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
exec "$exe" "$@"
