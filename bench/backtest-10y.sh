#!/usr/bin/env bash
# Wall time, processor time and peak memory of warm 10-year backtests through the offline quote
# service on 127.0.0.1: the 33 bundled histories, then 120 histories (renamed copies of them,
# read through --symbols). Each run is made once to fill the store, then timed.
# Usage: bench/backtest-10y.sh [path/to/cotalys]   (default: a Release build in build/bench-release)
set -euo pipefail

source "$(dirname "$0")/offline-run.sh"

# The bundled histories under their own names, and copies renamed A.PA -> A2.PA, A3.PA... up to
# 120 stocks.
mkdir -p "$work/data"
cp "$root"/data/demo/*.csv "$work/data/"
ls "$root"/data/demo/*.csv | xargs -n1 basename | sed 's/\.csv$//' | grep -v '^\^' > "$work/33.txt"
: > "$work/120.txt"
copy=1
while [[ $(wc -l < "$work/120.txt") -lt 120 ]]; do
  while read -r symbol && [[ $(wc -l < "$work/120.txt") -lt 120 ]]; do
    name="$symbol"
    if [[ $copy -gt 1 ]]; then
      name="${symbol%.PA}$copy.PA"
      cp "$root/data/demo/$symbol.csv" "$work/data/$name.csv"
    fi
    echo "$name" >> "$work/120.txt"
  done < "$work/33.txt"
  copy=$((copy + 1))
done

start_quote_service "$work/data"

export COTALYS_DOCUMENTS_DIR="$work/documents" COTALYS_CACHE_DIR="$work/cache"
for list in 33 120; do
  run=(backtest --years 10 --symbols "$work/$list.txt" --as-of 2021-02-22 --delay-ms 0
       --quote-host "http://127.0.0.1:$port")
  "$program" "${run[@]}" > /dev/null 2>&1
  /usr/bin/time -v "$program" "${run[@]}" > "$work/report-$list.txt" 2> "$work/time-$list.txt"
  echo "warm run, $list histories: $(head -1 "$work/report-$list.txt" | cut -c1-60)"
  grep -E "User time|System time|Elapsed \(wall clock\)|Maximum resident set size" \
    "$work/time-$list.txt"
done
