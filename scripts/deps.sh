# Installs the Debian packages named as arguments that are not installed yet.
# Sourced by the other scripts; uses sudo when not run as root.
ensure_packages() {
  local missing=()
  local package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# What building and running the game needs.
# stb_image and stb_truetype decode bitmaps and draw text on every host; fonttools subsets
# the text font at build time. SDL2_image writes the replay tool's PNG frames.
GAME_PACKAGES=(build-essential cmake ninja-build pkg-config libsdl2-dev libsdl2-image-dev
  libstb-dev fonttools fonts-dejavu-core fonts-dejavu-extra)

# What the tests, tools, benchmarks, fuzzers and the Windows build need on top.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool
  x11-utils imagemagick sox mingw-w64 wine wine64)

# What the browser build and its test need: Emscripten, Chromium to drive, and npm for the
# pinned driver (Node comes with Emscripten).
WEB_PACKAGES=(cmake ninja-build python3 emscripten chromium)

# Installs the browser test's driver exactly as the lock file pins it; npm itself comes from
# Debian when this machine has none.
ensure_web_driver() {
  command -v npm >/dev/null || ensure_packages npm
  if [ ! -d tests/web/node_modules/playwright-core ] ||
    [ tests/web/package-lock.json -nt tests/web/node_modules/.package-lock.json ]; then
    npm ci --prefix tests/web --no-audit --no-fund
  fi
}
