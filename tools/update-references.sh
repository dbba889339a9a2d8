#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes the page's reference pictures anew, from the page as it is now drawn:
# run it on purpose, when the page is meant to change, and look at what
# changed (git diff --stat tests/drawing/reference) before committing.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${OSTRABEL_BUILD_DIR:-$here/build}
cmake --build "$build" --target tst_reference
OSTRABEL_UPDATE_REFERENCES=1 QT_QPA_PLATFORM=offscreen "$build/tests/tst_reference"
