#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a command with the tests' CUPS queue as the default printer, then puts
# everything back: starts the scheduler when it is not running (and stops it
# afterwards), switches file: devices on for the while, and restores the
# previous default printer. The queue prints through the Generic PDF driver
# into a temporary PDF. Needs root, as on CI.
#   tools/test-printer.sh build/bench/bench_print
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
exec /usr/bin/python3 - "$here/tests/e2e" "$@" <<'PYTHON'
import signal, subprocess, sys
sys.path.insert(0, sys.argv[1])
from fixtures import cups_queue
signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
with cups_queue() as queue:
    print("default printer %s, printing into %s" % (queue.name, queue.pdf), flush=True)
    code = subprocess.run(sys.argv[2:]).returncode
sys.exit(code)
PYTHON
