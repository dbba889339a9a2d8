#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Takes a screenshot of the main window as it looks at start-up, in a private
# X server, and makes an example page with the calendar's options, for the
# README: tools/screenshot.sh [program] [output.png]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/src/ostrabel}
output=${2:-$here/docs/main-window.png}
mkdir -p "$(dirname "$output")"

# Xvfb picks a free display and writes its number to the file.
number_file=$(mktemp)
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$number_file" 2>/dev/null &
xvfb=$!
program_pid=""
trap 'kill $program_pid $xvfb 2>/dev/null || true; rm -f "$number_file"' EXIT
for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.05; done
export DISPLAY=:$(head -n1 "$number_file")
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

"$program" &
program_pid=$!
window=""
for _ in $(seq 100); do
    window=$(xdotool search --name '^ Jaar Ostrabel$' 2>/dev/null | head -n1 || true)
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || { echo "the main window did not appear" >&2; exit 1; }
sleep 1
import -window "$window" "$output"
echo "$output"

page=$(dirname "$output")/page.png
photo=$(mktemp --suffix=.png)
/usr/bin/python3 "$here/tools/make_pictures.py" --photo "$photo"
"$(dirname "$program")/ostrabel-cli" --jaar 2027 --week-begint maandag --weeknummers --feestdagen \
    --foto "$photo" --foto-passen bijsnijden --kop-links "Familie Jansen" --kop-rechts Zeist \
    --voet-links "Het torentje" --voet-rechts "Zomer 2026" "$page"
# In 256 colours, small enough for a README.
/usr/bin/python3 -c "import sys; from PIL import Image; Image.open(sys.argv[1]).quantize(256).save(sys.argv[1], optimize=True)" "$page"
rm -f "$photo"
echo "$page"
