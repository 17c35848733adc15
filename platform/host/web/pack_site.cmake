# Packs the linked game into the static site: its three files gzipped (the page unpacks them)
# and the page's own files, all stamped with one build identity drawn from every file's
# content. Every address the page asks for names that build, and the page and the worker
# carry the SHA-256 of each file they take, so that no visit runs files of two builds.
# Usage: cmake -DGAME_DIR=... -DSITE_DIR=... -DPAGE_DIR=... -P pack_site.cmake
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/site_files.cmake)
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

# The build's identity: the game's files, the page's sources and this script.
set(identity "")
foreach(path IN LISTS PADDLEBALL_GAME_FILES PADDLEBALL_PAGE_FILES ITEMS service_worker.js)
  if(path IN_LIST PADDLEBALL_GAME_FILES)
    set(path ${GAME_DIR}/${path})
  else()
    set(path ${PAGE_DIR}/${path})
  endif()
  file(SHA256 ${path} hash)
  string(APPEND identity ${hash})
endforeach()
file(SHA256 ${CMAKE_CURRENT_LIST_FILE} hash)
string(SHA256 SITE_BUILD "${identity}${hash}")
string(SUBSTRING ${SITE_BUILD} 0 16 SITE_BUILD)

# "name": ["sha256", ...], the hashes a file may arrive with. A gzipped file may also come
# unpacked, from a server that sent it with Content-Encoding: gzip.
function(append_hashes json name)
  set(hashes "")
  foreach(path IN LISTS ARGN)
    file(SHA256 ${path} hash)
    list(APPEND hashes "\"${hash}\"")
  endforeach()
  list(JOIN hashes ", " hashes)
  set(entry "\"${name}\": [${hashes}]")
  if(${json} STREQUAL "")
    set(${json} "${entry}" PARENT_SCOPE)
  else()
    set(${json} "${${json}},\n  ${entry}" PARENT_SCOPE)
  endif()
endfunction()

set(GAME_FILES "")
foreach(name IN LISTS PADDLEBALL_GAME_FILES)
  file(ARCHIVE_CREATE OUTPUT ${SITE_DIR}/${name}.gz PATHS ${GAME_DIR}/${name} FORMAT raw
       COMPRESSION GZip COMPRESSION_LEVEL 9)
  append_hashes(GAME_FILES ${name}.gz ${SITE_DIR}/${name}.gz ${GAME_DIR}/${name})
endforeach()
set(GAME_FILES "{\n  ${GAME_FILES}\n}")

set(SITE_FILES "")
foreach(name IN LISTS PADDLEBALL_PAGE_FILES)
  if(name MATCHES "\\.png$")
    file(COPY_FILE ${PAGE_DIR}/${name} ${SITE_DIR}/${name} ONLY_IF_DIFFERENT)
  else()
    configure_file(${PAGE_DIR}/${name} ${SITE_DIR}/${name} @ONLY)
  endif()
  append_hashes(SITE_FILES ${name} ${SITE_DIR}/${name})
endforeach()
foreach(name IN LISTS PADDLEBALL_GAME_FILES)
  append_hashes(SITE_FILES ${name}.gz ${SITE_DIR}/${name}.gz ${GAME_DIR}/${name})
endforeach()
set(SITE_FILES "{\n  ${SITE_FILES}\n}")
configure_file(${PAGE_DIR}/service_worker.js ${SITE_DIR}/service_worker.js @ONLY)

# Builds from before the site was gzipped left the plain files beside the page.
file(REMOVE ${SITE_DIR}/paddleball.js ${SITE_DIR}/paddleball.wasm ${SITE_DIR}/paddleball.data)
