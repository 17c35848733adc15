#!/usr/bin/env bash
# Builds the release packages: the Windows zip (64-bit, cross-built with mingw-w64), the
# Linux .tar.gz and .deb (the SDL2 build) and the web site's zip.
# Usage: package.sh [DIR]: builds in DIR/build-* and writes the packages to DIR/dist
# (default: build/package-* and dist/ in the source tree).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${WEB_PACKAGES[@]}" mingw-w64 dpkg-dev

if [ $# -gt 0 ]; then
  builds=$1/build
  dist=$1/dist
else
  builds=build/package
  dist=dist
fi
mkdir -p "$dist"
readonly version=$(sed -n 's/^project(paddleball VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

# Builds the game alone (no tests) in $1 with the extra configure arguments, then packs it
# and copies the packages to $dist.
package() {
  local build_dir=$1
  shift
  cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPADDLEBALL_TESTS=OFF "$@"
  # Everything a package holds is in the default target; the desktop's menu entry and icons
  # exist only in the Linux build. Ninja uses every core.
  cmake --build "$build_dir"
  (cd "$build_dir" && cpack -B packages)
  find "$build_dir/packages" -maxdepth 1 -type f \( -name '*.zip' -o -name '*.tar.gz' -o \
    -name '*.deb' \) -exec cp {} "$dist/" \;
}

package "$builds-linux"
package "$builds-win64" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64.cmake \
  -DPADDLEBALL_MINGW_TRIPLET=x86_64-w64-mingw32
NODE_PATH=/usr/share/nodejs package "$builds-web" \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake

for package in "paddleball-$version-win64.zip" "paddleball-$version-Linux-x86_64.tar.gz" \
  "paddleball_${version}_amd64.deb" "paddleball-$version-web.zip"; do
  [ -s "$dist/$package" ] || { echo "$dist/$package was not made" >&2; exit 1; }
done

# The web zip is the whole site: the page, its gzipped game, its offline worker and what
# installing it asks for.
web_listing=$(cmake -E tar tf "$dist/paddleball-$version-web.zip")
for file in index.html service_worker.js manifest.webmanifest icon-192.png icon-512.png \
  paddleball.js.gz paddleball.wasm.gz paddleball.data.gz; do
  grep -q "/$file\$" <<<"$web_listing" || { echo "the web zip lacks $file" >&2; exit 1; }
done

ls -l "$dist"
