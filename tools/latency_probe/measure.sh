#!/usr/bin/env bash
# Probes the desktop build and, when there is one, the 64-bit Windows build under Wine, each on
# an X server of its own: motion-to-screen latency, frame steadiness and processor time. With
# --against, the desktop game and another build take turns on one X server, and the difference
# is printed as well.
# Usage: measure.sh [--build DIR] [--game PATH | --no-desktop] [--against REVISION|PATH]
#                   [--rounds N] [--windows DIR | --no-windows] [--seconds S] [--samples N]
#   --build    the default preset's build directory (build/default): the probe and the game
#   --game     another desktop game binary to probe instead of the build's
#   --against  a game binary, a build directory holding one, or a git revision, built (the game
#              alone, default preset) in a worktree under the build directory and kept there
#   --rounds   turns each build takes with --against (4); a round is a share of the figures
#   --windows  the Windows build directory (build/mingw64 when it holds a game)
#   --seconds  the play, pauses left out, that the frame intervals cover (the probe's own: 12)
#   --samples  the moves timed from mouse to screen (the probe's own: 60)
set -euo pipefail

readonly source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$source_dir/build/default
game=""
against=""
rounds=4
windows_dir=$source_dir/build/mingw64
seconds=()  # and samples: the probe's own options
while (($#)); do
  case $1 in
    --build) build_dir=$2; shift 2 ;;
    --game) game=$2; shift 2 ;;
    --against) against=$2; shift 2 ;;
    --rounds) rounds=$2; shift 2 ;;
    --windows) windows_dir=$2; shift 2 ;;
    --no-windows) windows_dir=""; shift ;;
    --no-desktop) game=none; shift ;;
    --seconds) seconds+=(--seconds "$2"); shift 2 ;;
    --samples) seconds+=(--samples "$2"); shift 2 ;;
    *) echo "usage: $0 [--build DIR] [--game PATH | --no-desktop] [--against REVISION|PATH]" \
      "[--rounds N] [--windows DIR | --no-windows] [--seconds S] [--samples N]" >&2
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

# The other game of a comparison, and the folder it runs in (its own sources' assets).
versus=()
if [[ -n $against ]]; then
  if [[ -f $against ]]; then
    versus=(--versus --label "$against" --dir "$source_dir" -- "${playing[@]}" "$against")
  elif [[ -f $against/paddleball ]]; then
    versus=(--versus --label "$against" --dir "$source_dir" -- "${playing[@]}" "$against/paddleball")
  else
    revision=$(git -C "$source_dir" rev-parse --verify --short=12 "$against^{commit}") ||
      { echo "$0: $against is no game, build directory or revision" >&2; exit 2; }
    tree=$build_dir/../against-$revision
    [[ -d $tree ]] || git -C "$source_dir" worktree add --quiet --detach "$tree" "$revision"
    (cd "$tree" && cmake --preset default >/dev/null &&
      nice -n 10 cmake --build --preset default --target paddleball >/dev/null)
    versus=(--versus --label "$against" --dir "$tree" -- "${playing[@]}" "$tree/build/default/paddleball")
  fi
fi

echo "$(date +%T) load average: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
# The game opens images/ and sounds/ relative to where it runs; no sound device is needed.
[[ $game == none ]] || SDL_AUDIODRIVER=dummy SDL_VIDEODRIVER= SDL_FRAMEBUFFER_ACCELERATION= \
  "${watching[@]}" "$probe" "${seconds[@]}" --rounds $((${#versus[@]} ? rounds : 1)) \
  --label desktop --dir "$source_dir" -- "${playing[@]}" "$game" "${versus[@]}"
echo "$(date +%T) load average: $(cut -d' ' -f1-3 /proc/loadavg)"

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
