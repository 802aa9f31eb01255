#!/usr/bin/env bash
# Builds the backtest and scanner test suites with ThreadSanitizer and runs them. Among them,
# runs that work on one thread while another reads their progress and asks them to stop.
# Fails on any data race. Suites not present in this version are skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${COTALYS_TSAN_BUILD:-build/tsan}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O0 -g1" -DCOTALYS_WERROR=ON -DCOTALYS_TSAN=ON \
  >/dev/null

# The target list is read whole: grep -q would stop reading early, and under pipefail the
# writer's broken pipe would make a present suite look absent.
targets=$(ninja -C "$build" -t targets all)
suites=()
for suite in test_backtest test_scanner; do
  if grep -q "^$suite:" <<< "$targets"; then suites+=("$suite"); fi
done
if [ ${#suites[@]} -eq 0 ]; then
  echo "== ThreadSanitizer : aucune suite de lots a verifier dans cette version"
  exit 0
fi
cmake --build "$build" -j "$(nproc)" --target "${suites[@]}"

export QT_QPA_PLATFORM=offscreen
export TSAN_OPTIONS=${TSAN_OPTIONS:-halt_on_error=1:second_deadlock_stack=1}
for suite in "${suites[@]}"; do
  echo "== $suite under ThreadSanitizer"
  "$build/tests/$suite"
done
echo "== No data race"
