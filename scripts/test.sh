#!/usr/bin/env bash
# Builds everything and runs every test (unit, end-to-end, fuzzers, the Windows build under
# Wine), then the unit and end-to-end tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer (the fuzzers already run with them), so that the game itself is
# checked for leaks on every way out.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

cmake --preset default
cmake --build --preset default
ctest --preset default --parallel 2

cmake --preset asan
cmake --build --preset asan
ctest --preset asan --label-regex 'unit|e2e' --exclude-regex '^fuzz' --parallel 2
