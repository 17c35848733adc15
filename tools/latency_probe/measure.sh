#!/usr/bin/env bash
# Probes the desktop build and, when there is one, the 64-bit Windows build under Wine, each on
# an X server of its own: motion-to-screen latency and frame steadiness.
# Usage: measure.sh [--build DIR] [--game PATH | --no-desktop] [--windows DIR | --no-windows]
#                   [--seconds S]
#   --build    the default preset's build directory (build/default): the probe and the game
#   --game     another desktop game binary to probe instead of the build's
#   --windows  the Windows build directory (build/mingw64 when it holds a game)
#   --seconds  the play, pauses left out, that the frame intervals cover (the probe's own: 12)
set -euo pipefail

readonly source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$source_dir/build/default
game=""
windows_dir=$source_dir/build/mingw64
seconds=()
while (($#)); do
  case $1 in
    --build) build_dir=$2; shift 2 ;;
    --game) game=$2; shift 2 ;;
    --windows) windows_dir=$2; shift 2 ;;
    --no-windows) windows_dir=""; shift ;;
    --no-desktop) game=none; shift ;;
    --seconds) seconds=(--seconds "$2"); shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--game PATH | --no-desktop] [--windows DIR | --no-windows]" \
      "[--seconds S]" >&2
      exit 2 ;;
  esac
done
readonly probe=$build_dir/tools/latency_probe/latency_probe
game=${game:-$build_dir/paddleball}

# The probe and its X server run ahead of other work when allowed, so that a busy machine
# delays the game, which is measured, rather than the watching; the game gets the usual share.
watching=() playing=()
if (($(nice -n -10 nice 2>/dev/null) < $(nice))); then
  watching=(nice -n -10) playing=(nice -n 10)
fi

echo "$(date +%T) load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
# The game opens images/ and sounds/ relative to where it runs; no sound device is needed.
[[ $game == none ]] || SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER= SDL_FRAMEBUFFER_ACCELERATION= \
  "${watching[@]}" "$probe" --label desktop --dir "$source_dir" "${seconds[@]}" -- \
  "${playing[@]}" "$game"

[[ -n $windows_dir && -f $windows_dir/paddleball.exe ]] || exit 0
work=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-probe.XXXXXX")
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
# The package's layout in a fresh prefix, as a player would have it.
cmake --install "$windows_dir" --component game --prefix "$work/run" >/dev/null
# The 64-bit loader by name: Debian's wine script prefers a 32-bit one when it is installed,
# which a kernel without 32-bit support cannot run.
loader=$(command -v wine64 || echo /usr/lib/wine/wine64)
[[ -x $loader ]] || loader=$(command -v wine)
export WINELOADER=$loader
"${watching[@]}" "$probe" --label wine --dir "$work/run" "${seconds[@]}" -- "${playing[@]}" \
  sh -c '"$WINELOADER" wineboot -i >/dev/null 2>&1 && wineserver -w && exec "$WINELOADER" paddleball.exe'
echo "$(date +%T) load average: $(cut -d' ' -f1-3 /proc/loadavg)"
