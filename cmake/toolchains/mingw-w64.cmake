# Cross-compiling the game for Windows with mingw-w64; the triplet picks 32 or 64 bits.
set(PADDLEBALL_MINGW_TRIPLET "x86_64-w64-mingw32" CACHE STRING
    "mingw-w64 target triplet: x86_64-w64-mingw32 or i686-w64-mingw32")

set(CMAKE_SYSTEM_NAME Windows)
# Checks made while configuring must see the same target.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PADDLEBALL_MINGW_TRIPLET)
if(PADDLEBALL_MINGW_TRIPLET MATCHES "^i686")
  set(CMAKE_SYSTEM_PROCESSOR x86)
else()
  set(CMAKE_SYSTEM_PROCESSOR AMD64)
endif()

# The posix thread model offers the whole standard thread library; its runtime is linked
# statically like the rest (platform/CMakeLists.txt), so no DLL travels with the game.
find_program(CMAKE_CXX_COMPILER NAMES ${PADDLEBALL_MINGW_TRIPLET}-g++-posix
             ${PADDLEBALL_MINGW_TRIPLET}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${PADDLEBALL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PADDLEBALL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
