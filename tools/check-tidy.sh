#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs clang-tidy with the project's .clang-tidy over every source file of
# src/, from the build's compile commands; fails when it finds anything.
#   tools/check-tidy.sh [BUILD_DIR]    (build/ by default)
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy)
cd "$here"
found=$(git ls-files 'src/*.cpp' | xargs -P"$(nproc)" -n4 "$tidy" -p "$build" --quiet 2>/dev/null |
        grep -E ': (warning|error):' || true)
if [ -n "$found" ]; then
    echo "$found" | sort -u
    exit 1
fi
