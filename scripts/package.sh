#!/usr/bin/env bash
# Builds the release packages into dist/: the Windows zip (64-bit, cross-built with
# mingw-w64), the Linux .tar.gz and .deb (the SDL2 build) and the web site's zip.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${WEB_PACKAGES[@]}" mingw-w64 dpkg-dev

readonly dist=dist
mkdir -p "$dist"

# Builds the game alone (no tests or tools) in $1 with the extra configure arguments, then
# packs it and copies the packages to dist/.
package() {
  local build_dir=$1
  shift
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPADDLEBALL_TESTS=OFF "$@"
  cmake --build "$build_dir" --target paddleball paddleball_desktop_files  # Ninja uses every core
  (cd "$build_dir" && cpack -B packages)
  find "$build_dir/packages" -maxdepth 1 -type f \( -name '*.zip' -o -name '*.tar.gz' -o \
    -name '*.deb' \) -exec cp {} "$dist/" \;
}

package build/package-linux
package build/package-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64.cmake \
  -DPADDLEBALL_MINGW_TRIPLET=x86_64-w64-mingw32
NODE_PATH=/usr/share/nodejs package build/package-web \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

# The web zip is the whole site: the page, its gzipped game, its offline worker and what
# installing it asks for.
readonly web_zip=$dist/paddleball-$(sed -n 's/^project(paddleball VERSION \([0-9.]*\).*/\1/p' \
  CMakeLists.txt)-web.zip
web_listing=$(cmake -E tar tf "$web_zip")
for file in index.html service_worker.js manifest.webmanifest icon-192.png icon-512.png \
  paddleball.js.gz paddleball.wasm.gz paddleball.data.gz; do
  grep -q "/$file\$" <<<"$web_listing" || { echo "$web_zip lacks $file" >&2; exit 1; }
done

ls -l "$dist"
