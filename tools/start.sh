#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds the two programs (not the tests), and
# starts the window program with the arguments given (a photo, say).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTRABEL_BUILD_DIR:-$here/build}
"$here/tools/setup.sh"
cmake --build "$build" --target ostrabel ostrabel-cli
exec "$build/src/ostrabel" "$@"
