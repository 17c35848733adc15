#!/usr/bin/env bash
# Builds everything and runs every test: unit and end-to-end, then the unit tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake --preset default
cmake --build --preset default
ctest --preset default --parallel 2

cmake --preset asan
cmake --build --preset asan
ctest --preset asan --label-regex unit --parallel 2
