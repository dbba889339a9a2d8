#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing (the test tools included), builds, and runs the
# whole test suite. The end-to-end tests start their own X server and, for
# printing, the print service.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTRABEL_BUILD_DIR:-$here/build}
"$here/tools/setup.sh" --tests
cd "$build"
ctest --output-on-failure "$@"
