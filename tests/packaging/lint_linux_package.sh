#!/usr/bin/env bash
# Holds the .deb to Debian's, the desktop's and the software centres' own checks: lintian
# finds no warning in it (a missing manual page is one), and the menu entry and the AppStream metadata it installs pass
# desktop-file-validate and appstreamcli (offline: the project's addresses are not online).
# Usage: lint_linux_package.sh <.deb>
set -euo pipefail

root=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-deb.XXXXXX")
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$1" "$root"
desktop-file-validate "$root"/usr/share/applications/*.desktop
metainfo=$(find "$root/usr/share/metainfo" -name '*.metainfo.xml')
[[ -n $metainfo ]] || { echo "FAIL: the .deb has no AppStream metadata" >&2; exit 1; }
appstreamcli validate --explain --no-net "$metainfo"
lintian --fail-on warning --tag-display-limit 0 "$1"
echo PASS
