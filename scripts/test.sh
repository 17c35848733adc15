#!/usr/bin/env bash
# Builds everything and runs every test (unit, end-to-end, fuzzers, the Windows build under
# Wine, the web build in headless Chromium), then the unit and end-to-end tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer (the fuzzers already run with them), so
# that the game itself is checked for leaks on every way out.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
ensure_web_driver

# The browser test in the default suite serves this build's site.
cmake --preset web
cmake --build --preset web

cmake --preset default
cmake --build --preset default
ctest --preset default --parallel "$(nproc)"

cmake --preset asan
cmake --build --preset asan
ctest --preset asan --label-regex 'unit|e2e' --label-exclude 'windows|web|fuzz' --parallel "$(nproc)"
