# Builds the exe again from a copy of the sources in another folder and
# requires the result to equal the first build byte for byte: no time stamps,
# no paths. Run as: cmake -DSOURCE=... -DWORK=... -DEXE=... -DGENERATOR=... [-DTOOLCHAIN=...]
#   -P rebuild_identical.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/elsewhere")
file(COPY "${SOURCE}/" DESTINATION "${WORK}/elsewhere/src" PATTERN ".git" EXCLUDE PATTERN "build" EXCLUDE)
# The same generator, and the same toolchain file where there is one (the
# copy's own, so no path of the first build's leaks in).
set(toolchain "")
if(TOOLCHAIN)
  file(RELATIVE_PATH relative "${SOURCE}" "${TOOLCHAIN}")
  set(toolchain "--toolchain" "${WORK}/elsewhere/src/${relative}")
endif()
execute_process(
  COMMAND "${CMAKE_COMMAND}" -S "${WORK}/elsewhere/src" -B "${WORK}/elsewhere/build"
          -G "${GENERATOR}" ${toolchain} -DCMAKE_BUILD_TYPE=MinSizeRel -DTALIVEN_BUILD_TESTS=OFF
  RESULT_VARIABLE configured OUTPUT_QUIET)
if(NOT configured EQUAL 0)
  message(FATAL_ERROR "configuring the second build failed")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" --build "${WORK}/elsewhere/build" --target Taliven -j 2
                RESULT_VARIABLE built OUTPUT_QUIET)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "the second build failed")
endif()
execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${EXE}" "${WORK}/elsewhere/build/window/Taliven.exe"
                RESULT_VARIABLE different)
if(different)
  message(FATAL_ERROR "a build in another folder gave a different Taliven.exe")
endif()
file(SIZE "${EXE}" bytes)
message(STATUS "Taliven.exe rebuilt identically elsewhere (${bytes} bytes)")
