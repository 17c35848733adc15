#!/usr/bin/env bash
# Plays the desktop game, built with AddressSanitizer and UndefinedBehaviorSanitizer, for
# MINUTES (60 unless given): games back to back on an X server of its own, its sound going to
# SDL's dummy driver. The last line sums it up; the exit status is not 0 when a game had a
# sanitizer report, exited with a failure, stopped drawing or kept growing.
# Usage: soak.sh [MINUTES]
set -euo pipefail
readonly minutes=${1:-60}
if ! [[ $minutes =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: $0 [MINUTES]" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
readonly source_dir=$PWD build_dir=$PWD/build/soak
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

# Optimised as players get it, so that the sanitizers' cost leaves the game its full pace.
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPADDLEBALL_SANITIZE=ON \
  -DPADDLEBALL_TESTS=ON >/dev/null
cmake --build "$build_dir" --target paddleball soak_player
mkdir -p "$build_dir/soak-logs"

unset SDL_VIDEODRIVER SDL_FRAMEBUFFER_ACCELERATION WAYLAND_DISPLAY
export SDL_AUDIODRIVER=dummy
# Freed memory waits in a quarantine to catch late uses. The game frees a few hundred KB a
# minute: a quarantine of 16 MB was still filling after ten minutes of play, and showed as
# growth; one of 1 MB is full within a few minutes.
export ASAN_OPTIONS=quarantine_size_mb=1
export LSAN_OPTIONS=suppressions=$source_dir/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
echo "soak: $minutes min from $(date +%T), load average $(cut -d' ' -f1-3 /proc/loadavg)," \
  "logs in $build_dir/soak-logs"
exec "$build_dir/tools/soak_player/soak_player" --seconds $((minutes * 60)) --dir "$source_dir" \
  --logs "$build_dir/soak-logs" -- "$build_dir/paddleball"
