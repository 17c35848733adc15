#!/usr/bin/env bash
# Installs the game as the Linux packages lay it out and checks that the launcher, run
# through a link from anywhere, starts the game in the directory that holds every asset
# the game opens, passing its arguments on; and that the menu entry names that launcher
# and an icon drawn at every size it is installed for.
# Usage: check_linux_layout.sh <cmake> <build dir>
set -euo pipefail

readonly cmake=$1 build_dir=$2
root=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-layout.XXXXXX")
trap 'rm -rf "$root"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$cmake" --install "$build_dir" --component game --prefix "$root/usr" >/dev/null

readonly game="$root/usr/lib/paddleball/paddleball"
readonly share="$root/usr/share"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
  "$share/doc/paddleball/copyright" || fail "no machine-readable copyright file"

readonly entry="$share/applications/paddleball.desktop"
[[ -f $entry ]] || fail "no desktop entry"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
icon_name=$(sed -n 's/^Icon=//p' "$entry")
[[ -x $root/usr/games/$exec_name ]] || fail "the menu entry starts '$exec_name', not the launcher"
# Each icon is a PNG whose header (width and height at bytes 16 to 23) matches its folder.
for size in 16 32 48 64 128 256; do
  png="$share/icons/hicolor/${size}x${size}/apps/$icon_name.png"
  [[ -s $png ]] || fail "no ${size}x${size} icon named '$icon_name'"
  [[ $(od -An -tx1 -N8 "$png" | tr -d ' \n') == 89504e470d0a1a0a ]] || fail "$png is not a PNG"
  read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
  [[ $width == "$size" && $height == "$size" ]] || fail "$png is $width x $height"
done
[[ -x $root/usr/games/paddleball ]] || fail "no launcher in games/"
[[ -x $game ]] || fail "no game in lib/paddleball/"
head -c 4 "$game" | grep -q ELF || fail "lib/paddleball/paddleball is not the game"

# Stand in for the game: report where it was started and with what.
cat >"$game" <<'PROBE'
#!/bin/sh
echo "dir=$(pwd)"
echo "args=$*"
for file in images/arena2.bmp images/example2.bmp images/paddle4.bmp sounds/click.wav \
  sounds/destroy.wav sounds/powers.wav sounds/failedme.wav; do
  [ -s "$file" ] || echo "missing=$file"
done
PROBE

mkdir "$root/elsewhere"
ln -s "$root/usr/games/paddleball" "$root/elsewhere/pb"
output=$(cd / && "$root/elsewhere/pb" one "two words")
echo "$output"

grep -qx "dir=$(readlink -f "$root/usr/share/paddleball")" <<<"$output" ||
  fail "the game was not started in share/paddleball"
grep -qx "args=one two words" <<<"$output" || fail "the arguments were not passed on"
! grep -q '^missing=' <<<"$output" || fail "assets missing from the package"
echo PASS
