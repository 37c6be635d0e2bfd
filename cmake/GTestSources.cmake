# GoogleTest, in order of preference: the sources Debian's googletest package
# installs (built with our own flags, so they work for the i686 build too), or
# an installed package (MSYS2's gtest). Visual Studio has neither: there
# TALIVEN_FETCH_GTEST fetches a tagged release with git.
set(TALIVEN_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
option(TALIVEN_FETCH_GTEST "Fetch GoogleTest with git when no copy is installed" OFF)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)

if(EXISTS "${TALIVEN_GTEST_SOURCE_DIR}/CMakeLists.txt")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory("${TALIVEN_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  if(MINGW)
    target_compile_options(gtest PUBLIC -include "${CMAKE_CURRENT_LIST_DIR}/gtest_win32_threads.h")
  endif()
  foreach(library gtest gtest_main)
    if(NOT TARGET GTest::${library})
      add_library(GTest::${library} ALIAS ${library})
    endif()
  endforeach()
elseif(TALIVEN_FETCH_GTEST)
  # The C runtime is linked statically (CMAKE_MSVC_RUNTIME_LIBRARY), and so is
  # GoogleTest's.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  include(FetchContent)
  FetchContent_Declare(googletest GIT_REPOSITORY https://github.com/google/googletest.git
                                  GIT_TAG v1.14.0 GIT_SHALLOW TRUE)
  FetchContent_MakeAvailable(googletest)
else()
  find_package(GTest REQUIRED)
endif()
