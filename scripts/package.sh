#!/usr/bin/env bash
# Builds the Debian package pramel_<version>_amd64.deb in build-package/
# (a build of its own: no tests, no benchmarks, Debian's hardening flags),
# then runs lintian on it and prints what it says. Fails when lintian
# reports an error.
# Usage: scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dpkg-dev fakeroot file lintian
BUILD_DIR=${BUILD_DIR:-build-package}

# The flags a Debian package is built with (fortified, stack-protected,
# full RELRO); a build type of None adds none of CMake's own on top.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
if [[ ! -f "$BUILD_DIR/build.ninja" ]]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=None \
    -DPRAMEL_BUILD_TESTS=OFF -DPRAMEL_BUILD_BENCH=OFF
fi
cmake --build "$BUILD_DIR"
rm -f "$BUILD_DIR"/pramel_*.deb
(cd "$BUILD_DIR" && fakeroot cpack -G DEB)
DEB=$(ls "$BUILD_DIR"/pramel_*_amd64.deb)

echo "== $DEB =="
dpkg-deb --info "$DEB"
dpkg-deb --contents "$DEB"

echo "== lintian =="
# --fail-on error: warnings are printed but do not fail the build.
lintian --info --display-info --fail-on error "$DEB" && status=0 || status=$?
if ((status == 0)); then
  echo "lintian: no errors"
fi
echo "Package: $DEB"
exit $status
