# Installs the Debian packages named as arguments that are not installed yet, adding the
# i386 architecture first when one of them is named "package:i386".
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
  if [[ " ${missing[*]} " == *":i386 "* ]] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq -o DPkg::Lock::Timeout=900 \
    --no-install-recommends "${missing[@]}"
}

# What building and running the game needs.
# stb_image and stb_truetype decode bitmaps and draw text on every host, and stb_image_write
# writes the tools' PNG files; fonttools subsets the text font at build time.
GAME_PACKAGES=(build-essential cmake ninja-build pkg-config libsdl2-dev
  libx11-dev libstb-dev fonttools fonts-dejavu-core fonts-dejavu-extra)

# Whether the kernel runs 32-bit x86 programs, which some virtual machines do not: tries a
# 93-byte i386 program that only exits.
runs_i386_programs() {
  local probe status
  probe=$(mktemp) || return 1
  local elf='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00'
  elf+='\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00'
  elf+='\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08'
  elf+='\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00'
  elf+='\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80'  # exit(0)
  printf '%b' "$elf" >"$probe"
  chmod +x "$probe"
  "$probe" 2>/dev/null
  status=$?
  rm -f "$probe"
  return "$status"
}

# What the tests, tools, benchmarks, fuzzers and the Windows builds need on top.
TEST_PACKAGES=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth xdotool
  x11-utils imagemagick sox mingw-w64 wine wine64 dpkg-dev lintian
  desktop-file-utils appstream nsis zip libx11-dev libxext-dev libxtst-dev libxdamage-dev)
# Wine's 32-bit half plays the 32-bit game. Its X driver and renderer load their libraries
# only if present, and without them the game fails where the 64-bit one plays: XRandR gives
# the display modes (without it "SetDisplayMode Failed!"), GL and Mesa draw and pace the flips
# (without them Wine falls back to a renderer the game must pace alone), XInput2 gives the
# relative mouse, and XRender, Xcursor, Xinerama and Xcomposite what the 64-bit side also has.
# Where 32-bit programs cannot run, wine32 would only take over the wine command and fail.
if runs_i386_programs; then
  TEST_PACKAGES+=(wine32:i386 libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
    libxrandr2:i386 libxi6:i386 libxrender1:i386 libxcursor1:i386 libxinerama1:i386
    libxcomposite1:i386)
fi

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
