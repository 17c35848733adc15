# Fails when a file includes across a layer the wrong way: the game reaches its platform only
# through the umbrella header, the portable layer sits on the host core, a backend sees the
# core and the game's entry but never the portable layer or another backend, the core sees
# itself alone, and SDL and Emscripten stay in their own backends.
# Usage: cmake -DSOURCE_DIR=<repository> -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

# The layer of a file, by its path inside the repository; "" for files of no layer.
function(layer_of path out)
  if(path MATCHES "^platform/host/(sdl|web|headless)/")
    set(layer "backend_${CMAKE_MATCH_1}")
  elseif(path MATCHES "^platform/host/[^/]+$")
    set(layer core)
  elseif(path MATCHES "^platform/portable/entry/")
    set(layer entry)
  elseif(path MATCHES "^platform/(portable/|platform\\.h$)")
    set(layer portable)
  elseif(path MATCHES "^platform/windows/")
    set(layer windows)
  elseif(path MATCHES "^(app|game|scene|display|input|sound)/")
    set(layer game)
  else()
    set(layer "")
  endif()
  set(${out} ${layer} PARENT_SCOPE)
endfunction()

# What each layer may include, itself aside.
set(allowed_game portable)
set(allowed_portable core entry)
set(allowed_windows portable)
set(allowed_backend_sdl core entry)
set(allowed_backend_web core entry)
set(allowed_backend_headless core)
set(allowed_core)
set(allowed_entry)

# Where a quoted include is found: beside the file, then on the include roots the build gives.
function(resolve file name out)
  get_filename_component(dir ${file} DIRECTORY)
  set(found "")
  foreach(candidate ${dir}/${name} platform/${name} ${name} platform/portable/entry/${name})
    if(EXISTS ${SOURCE_DIR}/${candidate})
      file(RELATIVE_PATH found ${SOURCE_DIR} ${SOURCE_DIR}/${candidate})
      break()
    endif()
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/platform/*.h
     ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/app/* ${SOURCE_DIR}/game/* ${SOURCE_DIR}/scene/*
     ${SOURCE_DIR}/display/* ${SOURCE_DIR}/input/* ${SOURCE_DIR}/sound/*)
set(wrong "")
foreach(file ${files})
  layer_of(${file} from)
  if(from STREQUAL "")
    continue()
  endif()
  file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line ${includes})
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]+).*" "\\1;\\2" parts "${line}")
    list(GET parts 0 bracket)
    list(GET parts 1 name)
    if(bracket STREQUAL "<")
      # The libraries of one backend, nowhere else.
      if((name MATCHES "^SDL" AND NOT from STREQUAL "backend_sdl") OR
         (name MATCHES "^emscripten" AND NOT from STREQUAL "backend_web"))
        list(APPEND wrong "${file}: <${name}> belongs to another backend")
      endif()
      continue()
    endif()
    resolve(${file} ${name} target)
    layer_of("${target}" to)
    if(to STREQUAL "" OR to STREQUAL from OR to IN_LIST allowed_${from})
      continue()
    endif()
    # The game's one way to its platform is the umbrella header.
    if(from STREQUAL "game" AND target STREQUAL "platform/platform.h")
      continue()
    endif()
    list(APPEND wrong "${file}: \"${name}\" reaches ${to} from ${from}")
  endforeach()
endforeach()
if(wrong)
  list(JOIN wrong "\n  " listed)
  message(FATAL_ERROR "Includes across a layer the wrong way:\n  ${listed}")
endif()
