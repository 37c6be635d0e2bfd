# Redraws the artwork and requires it to equal the committed files, byte for
# byte. Run as: cmake -DDRAW=... -DRESOURCES=... -DOUT=... -P redraw_artwork.cmake
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${DRAW}" "${OUT}" RESULT_VARIABLE drawn)
if(NOT drawn EQUAL 0)
  message(FATAL_ERROR "draw_artwork failed: ${drawn}")
endif()
foreach(picture emblem.bmp taliven.ico)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${picture}" "${RESOURCES}/${picture}"
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "${picture} differs from what the generator draws: run draw_artwork resources/")
  endif()
  message(STATUS "${picture}: identical")
endforeach()
