#!/usr/bin/env bash
# Processor time, wall time and peak memory of the 5-year backtest over every bundled history of data/demo,
# through the offline quote service on 127.0.0.1: a first run on an empty price store, then a
# second one with the default pauses, which the store answers.
# Usage: bench/backtest-5y.sh [path/to/cotalys]   (default: a Release build in build/bench-release)
set -euo pipefail

source "$(dirname "$0")/offline-run.sh"

# Every bundled stock, the index aside.
for file in "$root"/data/demo/*.csv; do
  name="$(basename "$file" .csv)"
  [[ "$name" == "^FCHI" ]] || echo "$name"
done > "$work/symbols.txt"

start_quote_service "$root/data/demo"

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
