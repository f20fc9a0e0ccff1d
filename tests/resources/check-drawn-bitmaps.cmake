# Draws the five bitmaps into a scratch folder and compares them byte for
# byte with the committed ones.
#   cmake -DGENERATOR=... -DCOMMITTED=... -DSCRATCH=... -P check-drawn-bitmaps.cmake
file(REMOVE_RECURSE "${SCRATCH}")
file(MAKE_DIRECTORY "${SCRATCH}")
execute_process(COMMAND "${GENERATOR}" "${SCRATCH}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${GENERATOR} failed: ${status}")
endif()
set(differing "")
foreach(name back.bmp knob.bmp load.bmp left.bmp right.bmp)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SCRATCH}/${name}" "${COMMITTED}/${name}"
                  RESULT_VARIABLE same)
  if(NOT same EQUAL 0)
    list(APPEND differing ${name})
  endif()
endforeach()
if(differing)
  message(FATAL_ERROR "drawn anew, these differ from the committed files: ${differing}\n"
                      "run scripts/make-resources.sh and commit the bitmaps with the drawing change")
endif()
file(REMOVE_RECURSE "${SCRATCH}")
