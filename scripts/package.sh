#!/usr/bin/env bash
# Builds the Release tree without the tests and makes the Debian package from it:
# build/package/cotalys_VERSION_ARCH.deb. Usage: scripts/package.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build/package}
# Debian's hardening flags (stack protector, fortified functions, read-only relocations bound
# at start).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCOTALYS_BUILD_TESTS=OFF
cmake --build "$dir" -j "$(nproc)" --target cotalys
(cd "$dir" && cpack -G DEB)
deb=$(ls -t "$dir"/cotalys_*.deb | head -1)
echo "Paquet : $deb"
dpkg-deb -f "$deb"
