# GoogleTest, in order of preference: the sources Debian's googletest package
# installs (built with our own flags, so they work for the i686 build too), an
# installed package, or a download for developers with internet access.
set(TALIVEN_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources")
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)

if(EXISTS "${TALIVEN_GTEST_SOURCE_DIR}/CMakeLists.txt")
  add_subdirectory("${TALIVEN_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
  if(MINGW)
    target_compile_options(gtest PUBLIC -include "${CMAKE_CURRENT_LIST_DIR}/gtest_win32_threads.h")
  endif()
  if(NOT TARGET GTest::gtest_main)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest QUIET)
  if(NOT GTest_FOUND)
    include(FetchContent)
    FetchContent_Declare(googletest
      GIT_REPOSITORY https://github.com/google/googletest.git
      GIT_TAG release-1.12.1)
    FetchContent_MakeAvailable(googletest)
  endif()
endif()
