#!/usr/bin/env bash
# Probes the desktop build and, when there is one, the 64-bit Windows build under Wine, each on
# an X server of its own: motion-to-screen latency and frame steadiness.
# Usage: measure.sh [--build DIR] [--game PATH] [--windows DIR | --no-windows]
#   --build    the default preset's build directory (build/default): the probe and the game
#   --game     another desktop game binary to probe instead of the build's
#   --windows  the Windows build directory (build/mingw64 when it holds a game)
set -euo pipefail

readonly source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$source_dir/build/default
game=""
windows_dir=$source_dir/build/mingw64
while (($#)); do
  case $1 in
    --build) build_dir=$2; shift 2 ;;
    --game) game=$2; shift 2 ;;
    --windows) windows_dir=$2; shift 2 ;;
    --no-windows) windows_dir=""; shift ;;
    *) echo "usage: $0 [--build DIR] [--game PATH] [--windows DIR | --no-windows]" >&2; exit 2 ;;
  esac
done
readonly probe=$build_dir/tools/latency_probe/latency_probe
game=${game:-$build_dir/paddleball}

echo "$(date +%T) load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
# The game opens images/ and sounds/ relative to where it runs; no sound device is needed.
SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER= SDL_FRAMEBUFFER_ACCELERATION= \
  "$probe" --label desktop --dir "$source_dir" -- "$game"

[[ -n $windows_dir && -f $windows_dir/paddleball.exe ]] || exit 0
work=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-probe.XXXXXX")
export WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
# The package's layout in a fresh prefix, as a player would have it.
cmake --install "$windows_dir" --component game --prefix "$work/run" >/dev/null
"$probe" --label wine --dir "$work/run" -- \
  sh -c 'wineboot -i >/dev/null 2>&1 && wineserver -w && exec wine paddleball.exe'
echo "$(date +%T) load average: $(cut -d' ' -f1-3 /proc/loadavg)"
