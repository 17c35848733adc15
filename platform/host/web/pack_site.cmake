# Packs the linked game into the static site: its three files gzipped (the page unpacks
# them), the page's own files copied, and the worker stamped with a version drawn from every
# file's content, so that a new build replaces what browsers keep offline.
# Usage: cmake -DGAME_DIR=... -DSITE_DIR=... -DPAGE_DIR=... -P pack_site.cmake
file(MAKE_DIRECTORY ${SITE_DIR})
# With this set CMake leaves the time out of the gzip headers, so a site packs to the same
# bytes whenever it is packed.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} 0)
endif()
# Emscripten's file packager gives each link's data a random id, which only its offline
# cache (not used here) reads; the data's own hash takes its place.
file(READ ${GAME_DIR}/paddleball.js script)
file(SHA256 ${GAME_DIR}/paddleball.data data_hash)
string(REGEX REPLACE "\"package_uuid\": *\"[^\"]*\"" "\"package_uuid\":\"${data_hash}\""
       script "${script}")
file(WRITE ${GAME_DIR}/paddleball.js "${script}")
set(version_input "")
foreach(name paddleball.js paddleball.wasm paddleball.data)
  file(ARCHIVE_CREATE OUTPUT ${SITE_DIR}/${name}.gz PATHS ${GAME_DIR}/${name} FORMAT raw
       COMPRESSION GZip COMPRESSION_LEVEL 9)
  file(SHA256 ${GAME_DIR}/${name} hash)
  string(APPEND version_input ${hash})
endforeach()
foreach(name index.html manifest.webmanifest icon-192.png icon-512.png service_worker.js)
  file(SHA256 ${PAGE_DIR}/${name} hash)
  string(APPEND version_input ${hash})
  if(NOT name STREQUAL service_worker.js)
    file(COPY_FILE ${PAGE_DIR}/${name} ${SITE_DIR}/${name} ONLY_IF_DIFFERENT)
  endif()
endforeach()
string(SHA256 version ${version_input})
string(SUBSTRING ${version} 0 16 SITE_VERSION)
configure_file(${PAGE_DIR}/service_worker.js ${SITE_DIR}/service_worker.js @ONLY)
# Builds from before the site was gzipped left the plain files beside the page.
file(REMOVE ${SITE_DIR}/paddleball.js ${SITE_DIR}/paddleball.wasm ${SITE_DIR}/paddleball.data)
