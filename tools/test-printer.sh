#!/usr/bin/env bash
# Runs a command with a CUPS test queue as the default printer, then puts
# everything back: starts the scheduler when it is not running (and stops it
# afterwards), switches file: devices on for the while, and restores the
# previous default printer. The queue prints through the Generic PDF driver
# into a temporary PDF. Needs root, as on CI.
#   tools/test-printer.sh build/bench/bench_print
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exec /usr/bin/python3 "$here/tests/e2e/fixtures.py" "$@"
