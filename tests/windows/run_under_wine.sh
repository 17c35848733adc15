#!/usr/bin/env bash
# The Windows game, installed in the package's layout, under Wine on a display of its own:
# the title screen over the arena at one step per refresh, a held left button starts play,
# Escape ends it with exit code 0. The renderer is Wine's Direct3D one: gl or gdi. Given an
# installer, the game is the one it installs, and uninstalling it ends the run.
# Usage: run_under_wine.sh <cmake> <Windows build dir> <artefact dir> <gl|gdi> [installer]
set -euo pipefail

readonly cmake=$1 build_dir=$2 artefacts=$3 renderer=$4 installer=${5:-}
readonly step_timeout=75  # seconds for any one wait; seven waits stay inside the test timeout

work=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-wine.XXXXXX")
xvfb_pid=""
game_pid=""
export WINEPREFIX="$work/prefix"
# No Mono or Gecko install prompts, and no menu entries in the home folder for shortcuts.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEDEBUG=-all

cleanup() {
  set +e
  cp "$work/game.log" "$artefacts/wine-game.log" 2>/dev/null
  [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  # A Wine process still starting when its server went can outlive it: end each one in
  # this test's prefix, found by its environment.
  local environ
  for environ in /proc/[0-9]*/environ; do
    grep -qzxF "WINEPREFIX=$WINEPREFIX" "$environ" 2>/dev/null &&
      kill -9 "$(basename "$(dirname "$environ")")" 2>/dev/null
  done
  rm -rf "$work"
}
mkdir -p "$artefacts"
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
  echo "FAIL: $*" >&2
  [[ -f $work/game.log ]] && grep -v GetDeviceState "$work/game.log" | tail -n 20 >&2
  exit 1
}

# Polls a command until it succeeds or the step times out.
wait_for() {
  local what=$1 deadline=$((SECONDS + step_timeout))
  shift
  echo "$(date +%T) waiting for $what"
  until "$@"; do
    ((SECONDS < deadline)) || fail "timed out waiting for $what"
    sleep 0.2
  done
}

# Wine logs each mouse poll, one per frame tick, with a time stamp in seconds.
poll_times() { grep -s GetDeviceState "$work/game.log" | cut -d: -f1; }
polled_at_least() { (($(poll_times | wc -l) >= $1)); }

# The white (all channels >= 224) and black (all <= 16) pixels in a region WxH+X+Y.
count_pixels() {
  convert "$1" -crop "$2" +repage -format %c histogram:info:- |
    awk -F'[:(),]' '{
      r = $3 + 0; g = $4 + 0; b = $5 + 0
      if (r >= 224 && g >= 224 && b >= 224) white += $1
      if (r <= 16 && g <= 16 && b <= 16) black += $1
    } END { print white + 0, black + 0 }'
}

# A new screenshot, with white text on black cells in the region.
shows_text() {
  import -window root "$artefacts/wine-$1.png"
  local white black
  read -r white black < <(count_pixels "$artefacts/wine-$1.png" "$2")
  echo "$1: $white white and $black black pixels in $2"
  ((white >= 40 && black >= 200))
}

mean_colour() {
  convert "$1" -crop "$2" +repage -resize '1x1!' -depth 8 \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}

# The 800 x 600 arena stretched over the 1024 x 768 screen: a patch of the screen has the
# mean colour of the same patch of the bitmap, to 16-bit precision.
expect_arena_patch() {
  local w=$1 h=$2 x=$3 y=$4 shot expected
  shot=$(mean_colour "$artefacts/wine-attract.png" "${w}x${h}+${x}+${y}")
  expected=$(mean_colour "$game_dir/images/arena2.bmp" \
    "$((w * 800 / 1024))x$((h * 600 / 768))+$((x * 800 / 1024))+$((y * 600 / 768))")
  read -r sr sg sb er eg eb <<<"$shot $expected"
  for d in $((sr - er)) $((sg - eg)) $((sb - eb)); do
    ((d >= -10 && d <= 10)) || fail "arena at ${w}x${h}+${x}+${y} is $shot, not $expected"
  done
}

readonly prompt_region="240x16+392+84" heads_up_region="60x45+0+0"
# Wine reports no refresh rate on Xvfb, so the game holds itself to 60 Hz; Wine's GL path on a
# software rasteriser may be slower than that, never faster.
min_steps_per_second=0
[[ $renderer == gdi ]] && min_steps_per_second=55

# -displayfd picks a free display number itself, so parallel runs never collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for "Xvfb" test -s "$work/display"
export DISPLAY=":$(head -n 1 "$work/display")"

# A fresh copy of the prefix booted once for all runs (PADDLEBALL_WINE_PREFIX): its files
# linked, its registry copied, as Wine rewrites that in place.
mkdir "$WINEPREFIX"
cp -al "$PADDLEBALL_WINE_PREFIX/drive_c" "$WINEPREFIX/"
cp -a "$PADDLEBALL_WINE_PREFIX"/{dosdevices,*.reg,.update-timestamp} "$WINEPREFIX/"
timeout "$step_timeout" wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d "$renderer" /f \
  >/dev/null 2>&1 || fail "cannot choose Wine's $renderer renderer"

game_dir=$work/run
if [[ -n $installer ]]; then
  source "$(dirname "$0")/installer_steps.sh"
  install_with "$installer"
else
  "$cmake" --install "$build_dir" --component game --prefix "$game_dir" --strip >/dev/null
fi
for path in paddleball.exe images/arena2.bmp sounds/click.wav; do
  [[ -f $game_dir/$path ]] || fail "the package has no $path"
done

# start /wait hands back the exit code Windows records for the game: the Unix process itself
# is at times killed by Wine while it tears the finished game down.
(cd "$game_dir" && WINEDEBUG=-all,err+all,+timestamp,trace+dinput exec wine start /wait paddleball.exe) \
  >"$work/game.log" 2>&1 &
game_pid=$!

wait_for "the title screen to tick" polled_at_least 60
shows_text attract "$prompt_region" || fail "no title prompt"
read -r white _ < <(count_pixels "$artefacts/wine-attract.png" "$heads_up_region")
((white < 40)) || fail "heads-up texts before play"
expect_arena_patch 200 100 100 160  # the floor, clear of sprites
expect_arena_patch 400 16 300 4     # the top wall
expect_arena_patch 16 400 4 200     # the left wall

# The press is held until the game has polled the mouse a few times, so a poll sees it.
title_polls=$(poll_times | wc -l)
xdotool mousemove 512 700 mousedown 1
wait_for "the game to poll the pressed button" polled_at_least $((title_polls + 3))
xdotool mouseup 1
wait_for "the heads-up texts" shows_text play "$heads_up_region"

kill -0 "$game_pid" 2>/dev/null || fail "the game ended before Escape"
xdotool key Escape
timeout "$step_timeout" tail --pid="$game_pid" -f /dev/null || fail "the game did not end on Escape"
exit_code=0
wait "$game_pid" || exit_code=$?
game_pid=""
((exit_code == 0)) || fail "exit code $exit_code after Escape"

# The title screen's median step, which a stall of a busy machine does not move.
rate=$(poll_times | awk -v n="$title_polls" 'NR > 1 && NR <= n { print $1 - last } { last = $1 }' |
  sort -n | awk '{ step[NR] = $1 }
    END { s = step[int((NR + 1) / 2)]; printf "%.1f", (s > 0 ? 1 / s : 0) }')
echo "title screen ($renderer): $rate steps a second"
awk -v r="$rate" -v lo="$min_steps_per_second" 'BEGIN { exit !(r >= lo && r <= 65) }' ||
  fail "the title screen stepped at $rate a second, outside $min_steps_per_second-65"
[[ -z $installer ]] || uninstall_and_check
echo "PASS"
