#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that are missing, then configures.
#   tools/setup.sh          what the program needs to build and run
#   tools/setup.sh --tests  also what the test suite needs
# The preset is OSTRABEL_PRESET (dev, the default, into build/; CI's ci into
# build-ci/), so the development and CI builds never undo each other's work.
# Safe to run again: installed packages are skipped, the build is incremental.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools qt6-translations-l10n
          qt6-image-formats-plugins libheif-dev libpng-dev libtiff-dev zlib1g-dev libgl-dev
          fonts-liberation2)
if [ "${1:-}" = "--tests" ]; then
    packages+=(xvfb xauth xdotool x11-utils imagemagick python3 python3-pil python3-holidays
               cups cups-client cups-bsd cups-ipp-utils cups-filters printer-driver-cups-pdf poppler-utils
               dbus avahi-daemon libheif-examples libavif-bin webp libtiff-tools libjpeg-turbo-progs
               openbox at-spi2-core python3-pyatspi
               ghostscript pcal
               desktop-file-utils appstream dpkg-dev file lintian)
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi

cd "$here"
preset=${OSTRABEL_PRESET:-dev}
if [ -n "${OSTRABEL_BUILD_DIR:-}" ]; then
    cmake --preset "$preset" -B "$OSTRABEL_BUILD_DIR" >/dev/null
else
    cmake --preset "$preset" >/dev/null
fi
