# Cross-builds the 32-bit Windows program on Linux with mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TALIVEN_MINGW_PREFIX i686-w64-mingw32)
# The win32 thread model: the program is single-threaded, and the posix
# model would link winpthread (and its locks in the unwinder) into the exe.
set(CMAKE_C_COMPILER ${TALIVEN_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${TALIVEN_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${TALIVEN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TALIVEN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
