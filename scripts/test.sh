#!/usr/bin/env bash
# Installs what is missing, checks that headers are named after what they define, builds with
# warnings as errors and runs every test suite, makes the Debian package of that build and runs
# the program from it, then builds and runs the same suites under AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs every fuzz target for a bounded time (scripts/fuzz.sh),
# then the backtest and scanner suites under ThreadSanitizer (scripts/tsan.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_suite() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCOTALYS_WERROR=ON "$@"
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== Headers named after what they define"
scripts/check-names.py

# Unoptimised builds without full debug information: they compile fastest, and assertions stay on.
echo "== Build and tests (warnings as errors)"
run_suite build/ci -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O0"

echo "== Debian package of the build/ci tree, unpacked into a temporary root"
package_root=$(mktemp -d)
cpack --config build/ci/CPackConfig.cmake -G DEB -B "$package_root/out" >/dev/null
deb=$(ls "$package_root"/out/cotalys_*.deb)
dpkg-deb -x "$deb" "$package_root/root"
for file in usr/bin/cotalys usr/share/applications/cotalys.desktop \
  usr/share/icons/hicolor/scalable/apps/cotalys.svg usr/share/cotalys/demo/AI.PA.csv; do
  test -f "$package_root/root/$file" || { echo "absent du paquet : $file"; exit 1; }
done
"$package_root/root/usr/bin/cotalys" --version | grep -qx "Cotalys [0-9.]*"
rm -rf "$package_root"

echo "== Build and tests under AddressSanitizer and UndefinedBehaviorSanitizer"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run_suite build/sanitize -DCMAKE_BUILD_TYPE= -DCMAKE_CXX_FLAGS="-O0 -g1" -DCOTALYS_SANITIZE=ON

echo "== Fuzz targets, ${COTALYS_FUZZ_SECONDS:=10} s each"
export COTALYS_FUZZ_SECONDS
scripts/fuzz.sh

echo "== Batch runs under ThreadSanitizer"
scripts/tsan.sh

echo "== All tests passed"
