# Cross-builds the Windows program on Linux with mingw-w64: the 32-bit one
# that ships, or (TALIVEN_PROCESSOR=x86_64) a 64-bit one of the same sources
# for machines that cannot run 32-bit programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
if(NOT TALIVEN_PROCESSOR)
  set(TALIVEN_PROCESSOR i686)
endif()
set(CMAKE_SYSTEM_PROCESSOR ${TALIVEN_PROCESSOR})
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TALIVEN_PROCESSOR)

set(TALIVEN_MINGW_PREFIX ${TALIVEN_PROCESSOR}-w64-mingw32)
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
