# Configures and builds the game for Windows with mingw-w64 in a build directory of its own
# (a second run only rebuilds what changed), then checks that the .exe needs only DLLs that
# come with Windows.
# cmake -DSOURCE_DIR=<repo> -DBINARY_DIR=<dir> -DTRIPLET=<x86_64|i686>-w64-mingw32 -P cross_build.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} -G Ninja
          -DCMAKE_BUILD_TYPE=Release
          -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/toolchains/mingw-w64.cmake
          -DPADDLEBALL_MINGW_TRIPLET=${TRIPLET}
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the ${TRIPLET} build failed")
endif()

# Ninja's own job count already uses every core.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the ${TRIPLET} game failed")
endif()

# The game's own platform calls and the C runtime that every Windows has; anything else
# (libstdc++, libgcc, winpthread) would have to travel with the game.
set(windows_dlls DDRAW.DLL DINPUT.DLL GDI32.DLL KERNEL32.DLL MSVCRT.DLL USER32.DLL WINMM.DLL)
execute_process(COMMAND ${TRIPLET}-objdump -p ${BINARY_DIR}/paddleball.exe
                OUTPUT_VARIABLE headers RESULT_VARIABLE dumped)
if(NOT dumped EQUAL 0)
  message(FATAL_ERROR "cannot read the imports of ${BINARY_DIR}/paddleball.exe")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
foreach(import IN LISTS imports)
  string(REPLACE "DLL Name: " "" dll "${import}")
  string(TOUPPER "${dll}" dll)  # the 32-bit import libraries spell them in lower case
  if(NOT dll IN_LIST windows_dlls)
    message(FATAL_ERROR "paddleball.exe needs ${dll}, which Windows does not provide")
  endif()
endforeach()
message(STATUS "paddleball.exe imports: ${imports}")
