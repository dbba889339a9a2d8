#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a Release build in its own folder and prints its path.
#   tools/package.sh
#   sudo apt install ./build-package/packages/ostrabel_1.00-1_amd64.deb
# Needs dpkg-dev and file (tools/setup.sh --tests installs them); OSTRABEL_PACKAGE_BUILD_DIR
# chooses another build folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTRABEL_PACKAGE_BUILD_DIR:-$here/build-package}
out=$build/packages

for tool in dpkg-buildflags dpkg-shlibdeps file; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: run tools/setup.sh --tests" >&2; exit 1; }
done
# Debian's flags: hardened binaries, and no build folder names inside them.
cd "$here"
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cmake --preset release -B "$build" \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build "$build"
rm -f "$out"/*.deb
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out"
ls "$out"/*.deb
