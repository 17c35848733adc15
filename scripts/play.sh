#!/usr/bin/env bash
# Builds the game and starts it from the source tree, where its images/ and sounds/ are.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}"
cmake --preset game >/dev/null
cmake --build --preset game
exec build/game/paddleball "$@"
