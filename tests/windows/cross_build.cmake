# Configures and builds the game for Windows with mingw-w64 in a build directory of its own;
# a second run only rebuilds what changed.
# cmake -DSOURCE_DIR=<repo> -DBINARY_DIR=<dir> -DTRIPLET=<x86_64|i686>-w64-mingw32 -P cross_build.cmake
foreach(required SOURCE_DIR BINARY_DIR TRIPLET)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "${required} is not set")
  endif()
endforeach()

execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${BINARY_DIR} -G Ninja
          -DCMAKE_BUILD_TYPE=Release
          -DCMAKE_TOOLCHAIN_FILE=${SOURCE_DIR}/cmake/toolchains/mingw-w64.cmake
          -DPADDLEBALL_MINGW_TRIPLET=${TRIPLET}
  RESULT_VARIABLE configured)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the ${TRIPLET} build failed")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} --build ${BINARY_DIR} -j 2 RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the ${TRIPLET} game failed")
endif()
