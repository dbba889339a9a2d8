#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing (the test tools included), builds everything, and
# runs the whole test suite; arguments go to ctest (-L unit: the quick
# tests, without root). The end-to-end tests start their own X server and,
# for printing, the print service. OSTRABEL_PRESET=ci builds as CI does.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
preset=${OSTRABEL_PRESET:-dev}
"$here/tools/setup.sh" --tests
cd "$here"
if [ -n "${OSTRABEL_BUILD_DIR:-}" ]; then
    cmake --build "$OSTRABEL_BUILD_DIR"
    ctest --test-dir "$OSTRABEL_BUILD_DIR" --output-on-failure "$@"
else
    cmake --build --preset "$preset"
    ctest --preset "$preset" "$@"
fi
