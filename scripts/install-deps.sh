#!/usr/bin/env bash
# Installs every Debian package Cotalys needs to build, test and run. Safe to run again.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  clang libclang-rt-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libqt6svg6 qt6-translations-l10n
  libcurl4-openssl-dev libpcre2-dev nlohmann-json3-dev libutf8proc-dev
  libcli11-dev libcpp-httplib-dev libssl-dev
  libsqlitecpp-dev libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-core fonts-dejavu-core
  xvfb xauth xdotool
  dbus-daemon dbus-bin dpkg-dev
  openssl ca-certificates
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${missing[@]}"
