#!/usr/bin/env bash
# Builds the release packages: the Windows installers and zips (64- and 32-bit, cross-built
# with mingw-w64), the Linux .tar.gz and .deb (the SDL2 build) and the web site's zip. One
# commit packs to the same bytes wherever and whenever it is packed: every time stamp is the
# last commit's, and owners, modes, time zone and the order of archive members are fixed.
# Usage: package.sh [--linux DIR] [--win64 DIR] [--win32 DIR] [--web DIR] [OUT]
#   builds each package's tree in OUT/build-* (default build/package-*) and writes the
#   packages to OUT/dist (default dist/). An option packs a tree already built in DIR
#   instead: a RelWithDebInfo Linux build, Release Windows and web builds.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_packages "${GAME_PACKAGES[@]}" "${WEB_PACKAGES[@]}" mingw-w64 dpkg-dev nsis zip

declare -A trees=()
while [[ ${1:-} == --* ]]; do
  [[ $1 =~ ^--(linux|win64|win32|web)$ && $# -ge 2 ]] || {
    echo "usage: package.sh [--linux|--win64|--win32|--web DIR]... [OUT]" >&2
    exit 2
  }
  trees[${1#--}]=$(realpath "$2")
  shift 2
done
if [ $# -gt 0 ]; then
  builds=$1/build
  dist=$1/dist
else
  builds=build/package
  dist=dist
fi
mkdir -p "$dist"
dist=$(realpath "$dist")
rm -f "$dist"/paddleball[-_]*  # a fresh set, whatever an earlier version left there
readonly version=$(sed -n 's/^project(paddleball VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)

SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null)} || {
  echo "not a git checkout: set SOURCE_DATE_EPOCH to the release's time" >&2
  exit 1
}
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C # zip members hold local times
umask 022
work=$(mktemp -d "${TMPDIR:-/tmp}/paddleball-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Configures tree $1 in $builds-$1 with the configure arguments after the targets $2 (no
# tests), and builds those targets, unless a built tree was given. Ninja uses every core.
build_tree() {
  local name=$1 targets=$2
  shift 2
  [[ -n ${trees[$name]:-} ]] && return
  trees[$name]=$(realpath -m "$builds-$name")
  cmake -S . -B "${trees[$name]}" -G Ninja -DPADDLEBALL_TESTS=OFF "$@"
  cmake --build "${trees[$name]}" --target $targets
}

declare -A staged=()
# The archive ($2: zip or tar.gz) of tree $1's game installed in a folder named as CPack
# names its packages; members sorted by name, owned by root, stamped with the commit's time.
archive() {
  local top
  top=$(sed -n 's/^set(CPACK_PACKAGE_FILE_NAME "\(.*\)")$/\1/p' "${trees[$1]}/CPackConfig.cmake")
  staged[$1]=$work/$1/$top
  cmake --install "${trees[$1]}" --component game --prefix "${staged[$1]}" --strip >/dev/null
  find "$work/$1" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
  if [[ $2 == zip ]]; then
    (cd "$work/$1" && find "$top" | sort | zip -9 -X -q -@ "$dist/$top.zip")
  else
    tar -C "$work/$1" -c --sort=name --owner=0 --group=0 --numeric-owner --format=gnu "$top" |
      gzip -9n >"$dist/$top.tar.gz"
  fi
}

# NSIS lines that install every file under $1 in the same place under $INSTDIR ($2.files)
# and that remove those files and then their folders, deepest first ($2.remove).
installer_lists() {
  local path folder
  (cd "$1" && find . -type f -printf '%P\n' | sort) | while IFS= read -r path; do
    folder=$(dirname "/$path")
    folder=${folder%/}
    echo "SetOutPath \"\$INSTDIR${folder//\//\\}\"" >>"$2.files"
    echo "File \"$1/$path\"" >>"$2.files"
    echo "Delete \"\$INSTDIR\\${path//\//\\}\"" >>"$2.remove"
  done
  (cd "$1" && find . -mindepth 1 -type d -printf '%P\n' | sort -r) | while IFS= read -r path; do
    echo "RMDir \"\$INSTDIR\\${path//\//\\}\"" >>"$2.remove"
  done
}

# The installer of Windows tree $1 for NSIS target $2, holding the files its zip holds.
installer() {
  installer_lists "${staged[$1]}" "$work/$1"
  makensis -V2 -NOCD -DVERSION="$version" -DTARGET="$2" -DFILES="$work/$1.files" \
    -DREMOVE="$work/$1.remove" -DOUT_FILE="$dist/paddleball-$version-$1-setup.exe" \
    cmake/windows/installer.nsi
}

readonly mingw=cmake/toolchains/mingw-w64.cmake
# The Linux menu entry's icons, manual page and changelog are made by a target of their own.
build_tree linux "paddleball paddleball_desktop_files" -DCMAKE_BUILD_TYPE=RelWithDebInfo
build_tree win64 paddleball -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$mingw \
  -DPADDLEBALL_MINGW_TRIPLET=x86_64-w64-mingw32
build_tree win32 paddleball -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=$mingw \
  -DPADDLEBALL_MINGW_TRIPLET=i686-w64-mingw32
NODE_PATH=/usr/share/nodejs build_tree web paddleball -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
# The .deb is CPack's, which sorts its members itself.
cpack --config "${trees[linux]}/CPackConfig.cmake" -G DEB -B "$work/deb" >/dev/null
cp "$work"/deb/*.deb "$dist/"
archive linux tar.gz
for name in win64 win32 web; do
  archive $name zip
done
installer win64 amd64-unicode
installer win32 x86-unicode

for package in "paddleball-$version-win64.zip" "paddleball-$version-win32.zip" \
  "paddleball-$version-win64-setup.exe" "paddleball-$version-win32-setup.exe" \
  "paddleball-$version-Linux-x86_64.tar.gz" "paddleball_${version}_amd64.deb" \
  "paddleball-$version-web.zip"; do
  [ -s "$dist/$package" ] || { echo "$dist/$package was not made" >&2; exit 1; }
done

# The web zip is the whole site: the worker and every file the build stamped into it.
web_listing=$(cmake -E tar tf "$dist/paddleball-$version-web.zip")
for file in service_worker.js $(sed -n 's/^  "\([^"]*\)": \[.*/\1/p' "${trees[web]}/site/service_worker.js"); do
  grep -q "/$file\$" <<<"$web_listing" || { echo "the web zip lacks $file" >&2; exit 1; }
done

ls -l "$dist"
