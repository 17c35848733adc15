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
GAME_PACKAGES=(build-essential cmake ninja-build pkg-config libsdl2-dev libsdl2-ttf-dev
  libsdl2-image-dev libx11-dev fonts-dejavu-core fonts-dejavu-extra)

# What the tests, tools, benchmarks, fuzzers and the Windows build need on top.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool
  x11-utils imagemagick sox mingw-w64 wine wine64)
