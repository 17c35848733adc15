#!/usr/bin/env bash
# Installs the game as the Linux packages lay it out and checks that the launcher, run
# through a link from anywhere, starts the game in the directory that holds every asset
# the game opens, passing its arguments on.
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
[[ -x $root/usr/bin/paddleball ]] || fail "no launcher in bin/"
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
ln -s "$root/usr/bin/paddleball" "$root/elsewhere/pb"
output=$(cd / && "$root/elsewhere/pb" one "two words")
echo "$output"

grep -qx "dir=$(readlink -f "$root/usr/share/paddleball")" <<<"$output" ||
  fail "the game was not started in share/paddleball"
grep -qx "args=one two words" <<<"$output" || fail "the arguments were not passed on"
! grep -q '^missing=' <<<"$output" || fail "assets missing from the package"
echo PASS
