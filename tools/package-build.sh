#!/usr/bin/env bash
# Builds the Debian package in a build folder of its own, compiled and linked with the flags
# Debian builds its packages with (dpkg-buildflags, every hardening feature on: fortify, stack
# protector, relro, bind now, PIE), without the tests and benchmarks the package does not ship.
# Usage: tools/package-build.sh [package build folder] [jobs]
set -euo pipefail
dir=${1:-build/package}
jobs=${2:-$(nproc)}

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cxxflags=$(dpkg-buildflags --get CXXFLAGS)
ldflags=$(dpkg-buildflags --get LDFLAGS)

# Configured for /usr, where the package installs, so that the library folder is the multiarch one
# (the program's parts go into its rostelle/ folder, which ldconfig does not look into).
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DROSTELLE_BUILD_TESTS=OFF -DROSTELLE_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$cppflags $cxxflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$ldflags" -DCMAKE_SHARED_LINKER_FLAGS="$ldflags" -DCMAKE_MODULE_LINKER_FLAGS="$ldflags"
cmake --build "$dir" -j "$jobs"
rm -f "$dir"/rostelle_*.deb
(cd "$dir" && cpack -G DEB)
