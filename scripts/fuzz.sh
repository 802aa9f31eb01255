#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UndefinedBehaviorSanitizer) and
# runs each for a bounded time from its committed seeds. Fails on any crash, leak, input slower
# than one second or memory blow-up; the input that did it is kept in build/fuzz/artifacts/.
#   scripts/fuzz.sh                 every target, COTALYS_FUZZ_SECONDS (default 20) each
#   scripts/fuzz.sh csv html        only those targets
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${COTALYS_FUZZ_SECONDS:-20}
build=build/fuzz
jobs=$(nproc)

CXX=${COTALYS_FUZZ_CXX:-clang++} cmake -S . -B "$build" -G Ninja -DCOTALYS_FUZZ=ON \
  -DCMAKE_BUILD_TYPE= -DCOTALYS_WERROR=ON >/dev/null
cmake --build "$build" -j "$jobs"

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for dir in fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# New inputs go to a scratch corpus, so the committed seeds only change by hand.
work="$build/work"
mkdir -p "$build/artifacts"
# Targets that read files rewrite one per input: a memory-backed folder keeps them fast.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  TMPDIR=$(mktemp -d -p /dev/shm cotalys-fuzz.XXXXXX)
else
  TMPDIR=$(mktemp -d -p "$build" tmp.XXXXXX)
fi
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
for target in "${targets[@]}"; do
  echo "== fuzz_$target (${seconds} s)"
  rm -rf "$work/$target"
  mkdir -p "$work/$target"
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=2048 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/artifacts/$target-" \
    "$work/$target" "fuzz/corpus/$target" 2>"$build/$target.log" ||
    { tail -n 60 "$build/$target.log"; echo "fuzz_$target a echoue" >&2; exit 1; }
  grep -E '^stat::number_of_executed_units' "$build/$target.log" || true
done
echo "== Fuzz targets passed"
