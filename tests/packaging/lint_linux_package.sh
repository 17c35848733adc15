#!/usr/bin/env bash
# Holds the .deb to Debian's, the desktop's and the software centres' own checks: lintian
# finds no error in it, and the menu entry and the AppStream metadata it installs pass
# desktop-file-validate and appstreamcli (offline: the project's addresses are not online
# yet). A check whose tool is missing is skipped (exit 77 when all are).
# Usage: lint_linux_package.sh <.deb>
set -euo pipefail

readonly deb=$1 skipped=77
root=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-deb.XXXXXX")
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
ran=0

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root"/usr/share/applications/*.desktop
  echo "desktop-file-validate: clean"
  ran=1
fi

if command -v appstreamcli >/dev/null; then
  metainfo=$(find "$root/usr/share/metainfo" -name '*.metainfo.xml')
  [[ -n $metainfo ]] || { echo "FAIL: the .deb has no AppStream metadata" >&2; exit 1; }
  appstreamcli validate --explain --no-net "$metainfo"
  ran=1
fi

if command -v lintian >/dev/null; then
  # Warnings are reported; only errors fail.
  lintian --fail-on error --tag-display-limit 0 "$deb"
  echo "lintian: no errors"
  ran=1
fi

[[ $ran -eq 1 ]] || exit $skipped
