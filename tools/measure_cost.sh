#!/bin/bash
# Measures the desktop game's CPU share and peak memory on a private 24-bit Xvfb, as the
# kernel counts them: /proc/<pid>/stat ticks over 10 s of title and 10 s of play, and VmHWM.
# Usage: measure_cost.sh <paddleball binary> [source dir with images/ and sounds/]
set -euo pipefail
game=$(realpath "$1")
cd "${2:-$(dirname "$0")/..}"
exec {fd}<> <(:)
Xvfb -displayfd "$fd" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
read -r -t 10 -u "$fd" number
export DISPLAY=":$number" SDL_AUDIODRIVER=dummy
"$game" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid $xvfb 2>/dev/null || true' EXIT
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
share() {
  local before after
  before=$(ticks); sleep 10; after=$(ticks)
  echo "$1: $(( (after - before) * 1000 / (10 * hz) )) per mille of a core"
}
timeout 10 xdotool search --sync --name "DirectDraw Example" >/dev/null
share "title screen"
xdotool mousedown 1; sleep 0.15; xdotool mouseup 1
share "play (lost balls pause it while their cue sounds)"
grep VmHWM "/proc/$pid/status"
xdotool key Escape
wait $pid && echo "exit code 0"
