#!/usr/bin/env bash
# Builds everything and runs every test (unit, end-to-end, fuzzers, the Windows build under
# Wine, the web build in headless Chromium, the release packages), then the unit and
# end-to-end tests again under AddressSanitizer and UndefinedBehaviorSanitizer (the fuzzers
# already run with them), so that the game itself is checked for leaks on every way out.
# Ends with the time each phase took.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh

timings=()
# Runs the command as the named phase and notes how long it took.
phase() {
  local name=$1 start=$SECONDS status=0
  shift
  "$@" || status=$?
  timings+=("$(printf '%-32s %4d s' "$name" $((SECONDS - start)))")
  return "$status"
}
print_timings() { printf '%s\n' "${timings[@]}" "$(printf '%-32s %4d s' total $SECONDS)"; }
trap print_timings EXIT
build() { cmake --preset "$1" && cmake --build --preset "$1"; }
# Waits for background job $1, showing its log $2 if it failed.
join() { wait "$1" || { cat "$2" >&2 && return 1; }; }

# The libraries the default tree links come first; the rest (most of the download: Wine,
# the cross compilers, Emscripten, Chromium) installs while that tree builds, and the tree
# is configured again to find it.
readarray -t test_libraries < <(printf '%s\n' "${TEST_PACKAGES[@]}" | grep -- '^lib.*-dev$')
phase "installs: to build" ensure_packages "${GAME_PACKAGES[@]}" "${test_libraries[@]}"
install_log=$(mktemp)
(ensure_packages "${TEST_PACKAGES[@]}" "${WEB_PACKAGES[@]}" && ensure_web_driver) \
  >"$install_log" 2>&1 &
installing=$!
phase "build: default" build default

# The sanitizer build takes what CPU the tests leave, from here until its tests run; in a
# process group of its own, so that a failure before then ends it too.
asan_log=$(mktemp)
setsid nice -n 10 bash -c 'cmake --preset asan && cmake --build --preset asan' \
  >"$asan_log" 2>&1 &
building_asan=$!
trap 'kill -- "-$building_asan" 2>/dev/null || true; print_timings' EXIT

phase "installs: the rest, waited for" join "$installing" "$install_log"
# The browser test in the default suite serves this build's site.
phase "build: web" build web
phase "configure: default again" cmake --preset default
phase "tests: default" ctest --preset default --parallel "$(nproc)"

phase "build: asan, waited for" join "$building_asan" "$asan_log"
phase "tests: asan" ctest --preset asan --label-regex 'unit|e2e' --label-exclude 'windows|web|fuzz' \
  --parallel "$(nproc)"
