#!/usr/bin/env bash
# Processor time, wall time and peak memory of the 5-year backtest over every bundled history of data/demo,
# through the offline quote service on 127.0.0.1: a first run on an empty price store, then a
# second one with the default pauses, which the store answers.
# Usage: bench/backtest-5y.sh [path/to/cotalys]   (default: a Release build in build/bench-release)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
program="${1:-}"
if [[ -z "$program" ]]; then
  cmake -S "$root" -B "$root/build/bench-release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCOTALYS_BUILD_TESTS=OFF > /dev/null
  cmake --build "$root/build/bench-release" --target cotalys -j2 > /dev/null
  program="$root/build/bench-release/src/cotalys"
fi

work="$(mktemp -d)"
server=""
cleanup() {
  if [[ -n "$server" ]]; then
    kill -INT "$server" 2> /dev/null || true
    wait "$server" 2> /dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

# Every bundled stock, the index aside.
for file in "$root"/data/demo/*.csv; do
  name="$(basename "$file" .csv)"
  [[ "$name" == "^FCHI" ]] || echo "$name"
done > "$work/symbols.txt"

port=$((20000 + RANDOM % 20000))
"$program" serve-quotes --data "$root/data/demo" --port "$port" > "$work/server.txt" 2>&1 &
server=$!
for _ in $(seq 1 200); do
  grep -q "Ctrl+C" "$work/server.txt" 2> /dev/null && break
  sleep 0.1
done

export COTALYS_DOCUMENTS_DIR="$work/documents" COTALYS_CACHE_DIR="$work/cache"
for run in first second; do
  /usr/bin/time -v "$program" backtest --years 5 --symbols "$work/symbols.txt" --as-of 2021-02-22 \
    --quote-host "http://127.0.0.1:$port" > "$work/report-$run.txt" 2> "$work/time-$run.txt"
  echo "$run run: $(wc -l < "$work/symbols.txt") symbols, $(head -1 "$work/report-$run.txt" | cut -c1-60)"
  grep -E "User time|System time|Elapsed \(wall clock\)|Maximum resident set size" \
    "$work/time-$run.txt"
done

# Where the processor time of a warm run goes, measured inside that one run (needs perf): the
# share of the per-symbol analysis, the rest being process start, loads, report and files.
if command -v perf > /dev/null; then
  perf record -q -F 2000 --call-graph dwarf,16384 -o "$work/perf.data" "$program" backtest \
    --years 5 --symbols "$work/symbols.txt" --as-of 2021-02-22 \
    --quote-host "http://127.0.0.1:$port" > /dev/null 2>&1
  perf report -i "$work/perf.data" --children --sort sym --stdio 2> /dev/null |
    grep -E "^ +[0-9.]+%.*(TBacktestRunner::Analyse|cotalys::LoadHistory|TBacktestRunner::Report|_dl_start)$" |
    awk '{print "warm run, share of " $NF ": " $1}'
fi
