#!/usr/bin/env bash
# Checks that two builds made the same packages, byte for byte.
# Usage: compare_packages.sh <first build's packages> <second build's packages>
set -euo pipefail

status=0
for package in "$1"/*; do
  if cmp "$package" "$2/${package##*/}"; then
    echo "same bytes: ${package##*/}"
  else
    status=1
  fi
done
exit $status
