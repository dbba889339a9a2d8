#!/usr/bin/env bash
# Takes a screenshot of the main window as it looks at start-up, in a private
# X server, for the README: tools/screenshot.sh [program] [output.png]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
program=${1:-$here/build/src/ostrabel}
output=${2:-$here/docs/main-window.png}
mkdir -p "$(dirname "$output")"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $program_pid $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
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
