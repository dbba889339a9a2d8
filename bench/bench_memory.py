#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Peak memory of whole ostrabel-cli runs over the photos that cost the
decoder most for their size (tests/cli/hostile_photos.py). Figures only.

    /usr/bin/python3 bench/bench_memory.py build/src/ostrabel-cli
"""
import json
import os
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
cli = sys.argv[1]
with tempfile.TemporaryDirectory() as work:
    # Made in another process, so this one stays small: a child's peak
    # counts what it shared of this one before it ran.
    photos = json.loads(subprocess.run(
        [sys.executable, os.path.join(here, "..", "tests", "cli", "hostile_photos.py"), work],
        capture_output=True, check=True).stdout)
    photos.append(("200 MP baseline", os.path.join(here, "..", "tests", "fuzz", "corpus",
                                                   "jpeg_claims_16320.jpg"), True))
    worst = 0
    for name, path, _ in photos:
        child = subprocess.Popen([cli, "--foto", path, os.path.join(work, "k.bmp")],
                                 stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        peak = usage.ru_maxrss // 1024
        worst = max(worst, peak)
        print("%-26s %5d MB peak, %s" % (name, peak, "loaded" if status == 0 else "refused"))
    print("%-26s %5d MB (target at most 512 MB)" % ("worst", worst))
