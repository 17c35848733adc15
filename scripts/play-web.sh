#!/usr/bin/env bash
# Builds the game for a web browser and serves its site on this machine only; open the
# address it prints. PADDLEBALL_WEB_PORT picks another port than 8000.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${WEB_PACKAGES[@]}"
cmake --preset web >/dev/null
cmake --build --preset web
readonly port=${PADDLEBALL_WEB_PORT:-8000}
echo "paddleball is at http://127.0.0.1:$port/ (Ctrl+C stops it)"
exec python3 -m http.server "$port" --bind 127.0.0.1 --directory build/web/site
