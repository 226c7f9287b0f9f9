# Cross build for 64-bit Windows with Debian's mingw-w64 (win32 threads), tested under Wine.
# Programs that CTest runs go through wine_run.sh, with a Wine prefix of the build's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ORVAN_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ORVAN_MINGW}-gcc)
set(CMAKE_CXX_COMPILER ${ORVAN_MINGW}-g++)
set(CMAKE_RC_COMPILER ${ORVAN_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORVAN_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine_run.sh ${CMAKE_BINARY_DIR}/wine-prefix)
