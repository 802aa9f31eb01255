#!/usr/bin/env bash
# Makes the pictures of the README: the main window with a demo symbol loaded, the results
# window after a demo scan and the sizing dialog, written into docs/. Runs the windows under a
# virtual X server (Xvfb), installed when missing; the bundled histories are served offline.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh >&2
if ! command -v xvfb-run >/dev/null; then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends xvfb xauth >&2
fi

cmake -S . -B build/screenshots -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
cmake --build build/screenshots --target test_ui -j "$(nproc)" >&2

mkdir -p docs
COTALYS_SCREENSHOT_DIR="$PWD/docs" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1600x1000x24" \
  build/screenshots/tests/test_ui --gtest_filter='ScreenshotTest.*'
ls -l docs/*.png
