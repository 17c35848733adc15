#!/usr/bin/env bash
# Runs the Windows game under Wine on a display of its own and checks it from the outside:
# the title screen shows at one step per refresh, a held left button starts play, Escape ends
# it with exit code 0. The game runs from the layout of the Windows package: the build's
# install of the game. The renderer is Wine's Direct3D one: gl (its default) or gdi (its
# fallback without GL, and a choice players make for old DirectDraw programs).
# Usage: run_under_wine.sh <cmake> <Windows build dir> <artefact dir> <gl|gdi>
set -euo pipefail

readonly cmake=$1 build_dir=$2 artefacts=$3 renderer=$4
readonly step_timeout=75  # seconds for any one wait; seven waits stay inside the test timeout
readonly poll_seconds=0.2

work=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-wine.XXXXXX")
xvfb_pid=""
game_pid=""
export WINEPREFIX="$work/prefix"
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko install prompts
export WINEDEBUG=-all

# A Wine process that was still starting when its server went can outlive it: end every
# process that runs in this test's prefix, found by its environment.
kill_prefix_stragglers() {
  local environ pid
  for environ in /proc/[0-9]*/environ; do
    pid=${environ#/proc/}
    pid=${pid%/environ}
    { tr '\0' '\n' <"$environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
      kill -9 "$pid" 2>/dev/null
  done
}

cleanup() {
  set +e
  [[ -f $work/game.log ]] && cp "$work/game.log" "$artefacts/wine-game.log"
  [[ -n $game_pid ]] && kill "$game_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  kill_prefix_stragglers
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
    sleep "$poll_seconds"
  done
}

start_display() {
  # -displayfd picks a free display number itself, so parallel runs never collide.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  wait_for "Xvfb" test -s "$work/display"
  export DISPLAY=":$(head -n 1 "$work/display")"
}

# The package's layout: paddleball.exe beside images/ and sounds/.
prepare_run_directory() {
  "$cmake" --install "$build_dir" --component game --prefix "$work/run" --strip >/dev/null
  for path in paddleball.exe images/arena2.bmp sounds/click.wav; do
    [[ -f $work/run/$path ]] || fail "the package has no $path"
  done
}

# Mouse polls logged by Wine: one per frame tick on the title screen, with the time.
mouse_polls() {
  [[ -f $work/game.log ]] || { echo 0; return; }
  awk '/GetDeviceState/ { n++ } END { print n + 0 }' "$work/game.log"
}
polled_at_least() { (($(mouse_polls) >= $1)); }

screenshot() { import -window root "$artefacts/wine-$1.png"; }

# Pixels in a region (WxH+X+Y) whose channels are all at or above (white) or at or below
# (black) a threshold, counted from ImageMagick's colour histogram.
count_pixels() {
  local image=$1 region=$2 kind=$3
  convert "$image" -crop "$region" +repage -format %c histogram:info:- |
    awk -v kind="$kind" -F'[:(),]' '{
      r = $3 + 0; g = $4 + 0; b = $5 + 0
      if (kind == "white" && r >= 224 && g >= 224 && b >= 224) n += $1
      if (kind == "black" && r <= 16 && g <= 16 && b <= 16) n += $1
    } END { print n + 0 }'
}

# The mean colour of a region (WxH+X+Y) as "r g b", 0 to 255.
mean_colour() {
  convert "$1" -crop "$2" +repage -resize '1x1!' -depth 8 \
    -format '%[fx:int(255*r+0.5)] %[fx:int(255*g+0.5)] %[fx:int(255*b+0.5)]' info:
}

# White text on black cells: enough of both in the region.
expect_text() {
  local image=$1 region=$2 what=$3 white black
  white=$(count_pixels "$image" "$region" white)
  black=$(count_pixels "$image" "$region" black)
  echo "$what: $white white and $black black pixels in $region"
  ((white >= 40 && black >= 200)) || fail "no $what text in $region of $image"
}

expect_no_text() {
  local image=$1 region=$2 what=$3 white
  white=$(count_pixels "$image" "$region" white)
  ((white < 40)) || fail "$what text already in $region of $image ($white white pixels)"
}

# The arena is stretched from 800 x 600 over the whole 1024 x 768 screen: a patch of the
# screen must show the mean colour of the same patch of the bitmap, to 16-bit precision.
expect_arena_patch() {
  local image=$1 w=$2 h=$3 x=$4 y=$5 shot expected
  shot=$(mean_colour "$image" "${w}x${h}+${x}+${y}")
  expected=$(mean_colour "$work/run/images/arena2.bmp" \
    "$((w * 800 / 1024))x$((h * 600 / 768))+$((x * 800 / 1024))+$((y * 600 / 768))")
  echo "arena at ${w}x${h}+${x}+${y}: screen $shot, bitmap $expected"
  read -r sr sg sb <<<"$shot"
  read -r er eg eb <<<"$expected"
  for d in $((sr - er)) $((sg - eg)) $((sb - eb)); do
    ((d >= -10 && d <= 10)) || fail "screen colour $shot is not the arena's $expected"
  done
}

expect_arena_colours() {
  expect_arena_patch "$1" 200 100 100 160  # the floor of the arena, clear of sprites
  expect_arena_patch "$1" 400 16 300 4     # the top wall
  expect_arena_patch "$1" 16 400 4 200     # the left wall
}

# Play has begun once the score, lives and level texts are on the screen.
shows_heads_up() {
  screenshot play
  (($(count_pixels "$artefacts/wine-play.png" "$heads_up_region" white) >= 40)) || return 1
  expect_text "$artefacts/wine-play.png" "$heads_up_region" "heads-up"
}

readonly prompt_region="240x16+392+84"
readonly heads_up_region="60x45+0+0"
# Wine reports no refresh rate on Xvfb, so the game holds itself to 60 Hz; Wine's GL path on a
# software rasteriser may be slower than that, never faster.
readonly max_steps_per_second=65
if [[ $renderer == gdi ]]; then min_steps_per_second=55; else min_steps_per_second=0; fi

start_display
echo "$(date +%T) making a fresh Wine prefix"
timeout "$step_timeout" wineboot -i >"$work/wineboot.log" 2>&1 || fail "wineboot failed"
timeout "$step_timeout" wineserver -w || fail "Wine did not settle after wineboot"
timeout "$step_timeout" wine reg add 'HKCU\Software\Wine\Direct3D' /v renderer /d "$renderer" /f \
  >/dev/null 2>&1 || fail "cannot choose Wine's $renderer renderer"
prepare_run_directory

# Wine logs each mouse poll with a time stamp: that tells when the title screen is
# ticking and how fast the game steps.
# start /wait hands back the exit code Windows records for the game: the Unix process itself
# is at times killed by Wine while it tears the finished game down.
(cd "$work/run" && WINEDEBUG=-all,err+all,+timestamp,trace+dinput exec wine start /wait paddleball.exe) \
  >"$work/game.log" 2>&1 &
game_pid=$!

wait_for "the title screen to tick" polled_at_least 60
screenshot attract
expect_text "$artefacts/wine-attract.png" "$prompt_region" "title prompt"
expect_no_text "$artefacts/wine-attract.png" "$heads_up_region" "heads-up"
expect_arena_colours "$artefacts/wine-attract.png"

# The press is held until the game has polled the mouse a few times, so a poll sees it.
polls_before=$(mouse_polls)
xdotool mousemove 512 700 mousedown 1
wait_for "the game to poll the pressed button" polled_at_least $((polls_before + 3))
xdotool mouseup 1
wait_for "the heads-up texts" shows_heads_up

kill -0 "$game_pid" 2>/dev/null || fail "the game ended before Escape"
echo "$(date +%T) pressing Escape"
xdotool key Escape
exit_code=0
timeout "$step_timeout" tail --pid="$game_pid" -f /dev/null || fail "the game did not end on Escape"
wait "$game_pid" || exit_code=$?
game_pid=""
((exit_code == 0)) || fail "exit code $exit_code after Escape"

# Steps per second on the title screen, from the mouse polls' time stamps (in ms): the mean,
# and the steady pace of the median step, which a stall of a busy machine does not move.
poll_times() { grep 'GetDeviceState' "$work/game.log" | awk -F: '{ print $1 }'; }
median_step_ms() {
  awk '{ if (NR > 1) print ($1 - last) * 1000; last = $1 }' | sort -n |
    awk '{ gap[NR] = $1 } END { print NR ? gap[int((NR + 1) / 2)] : 0 }'
}
read -r ticks seconds < <(poll_times | head -n "$polls_before" |
  awk 'NR == 1 { first = $1 } { last = $1 } END { printf "%d %.3f\n", NR - 1, last - first }')
title_step=$(poll_times | head -n "$polls_before" | median_step_ms)
rate=$(awk -v step="$title_step" 'BEGIN { printf "%.1f", step ? 1000 / step : 0 }')
echo "title screen ($renderer): $ticks steps in $seconds s, $(awk -v n="$ticks" -v s="$seconds" \
  'BEGIN { printf "%.1f", n / s }') steps a second; median step $title_step ms, $rate a second"
# Play steps read the mouse too; the synchronous cues pause them.
echo "play: median step $(poll_times | tail -n +"$((polls_before + 1))" | median_step_ms) ms"
awk -v r="$rate" -v lo="$min_steps_per_second" -v hi="$max_steps_per_second" \
  'BEGIN { exit !(r >= lo && r <= hi) }' ||
  fail "the title screen stepped at $rate a second under $renderer, outside $min_steps_per_second-$max_steps_per_second"
echo "PASS"
