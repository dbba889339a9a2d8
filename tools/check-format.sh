#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails, naming the files, when clang-format would change any C++ file of the
# project: tools/check-format.sh   (clang-format -i FILE mends one)
set -euo pipefail
cd "$(dirname "$0")/.."
bad=$(git ls-files '*.cpp' '*.h' | while read -r file; do
    clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || echo "$file"
done)
if [ -n "$bad" ]; then
    echo "clang-format would change:" >&2
    echo "$bad" >&2
    exit 1
fi
