#!/usr/bin/env bash
# Holds the Linux install to the desktop's and Debian's own checks: the menu entry passes
# desktop-file-validate and lintian finds no error in the .deb packed from this build. A
# check whose tool is missing is skipped (exit 77 when both are).
# Usage: lint_linux_package.sh <cpack> <build dir> <desktop entry>
set -euo pipefail

readonly cpack=$1 build_dir=$2 desktop_entry=$3
readonly skipped=77
ran=0

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop_entry"
  echo "desktop-file-validate: clean"
  ran=1
fi

if command -v lintian >/dev/null; then
  out=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-deb.XXXXXX")
  trap 'rm -rf "$out"' EXIT
  "$cpack" --config "$build_dir/CPackConfig.cmake" -G DEB -B "$out" >/dev/null
  # Warnings are reported; only errors fail.
  lintian --fail-on error --tag-display-limit 0 "$out"/*.deb
  echo "lintian: no errors"
  ran=1
fi

[[ $ran -eq 1 ]] || exit $skipped
