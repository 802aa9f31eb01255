#!/usr/bin/env bash
# The indicator benchmarks as multiples of the plain copy of as many doubles in the same run.
# A virtual machine's speed drifts from second to second, so each benchmark runs several times
# and its fastest run counts, the copy's included.
# Usage: bench/indicator-ratios.sh [repetitions]   (default 7; builds Release in build/bench)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
repetitions="${1:-7}"
cmake -S "$root" -B "$root/build/bench" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCOTALYS_BUILD_TESTS=OFF -DCOTALYS_BUILD_BENCH=ON > /dev/null
cmake --build "$root/build/bench" --target bench_indicators -j2 > /dev/null
"$root/build/bench/bench/bench_indicators" --benchmark_repetitions="$repetitions" \
  --benchmark_format=json 2> /dev/null | python3 -c '
import json, sys
fastest = {}
for run in json.load(sys.stdin)["benchmarks"]:
    if run.get("run_type") == "iteration":
        name = run["run_name"]
        fastest[name] = min(fastest.get(name, float("inf")), run["real_time"])
copy = fastest["BM_Memcpy"]
for name, time in fastest.items():
    print(f"{name:20s} {time:10.1f} us {time / copy:6.2f} x memcpy")
'
