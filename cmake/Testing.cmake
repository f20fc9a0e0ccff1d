# GoogleTest: the system package natively, its sources in the cross builds
# (the Debian package ships them under /usr/src/googletest).
if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  target_link_libraries(gtest PRIVATE ulmar_flags)
  set(ULMAR_GTEST gtest)
else()
  find_package(GTest REQUIRED)
  set(ULMAR_GTEST GTest::gtest)
endif()

# Under the sanitizers, the leak checker leaves out the desktop libraries'
# own caches (listed in tests/lsan-suppressions.txt). Tests that draw on X
# windows through the plug-in add fast_unwind_on_malloc=0, so that the
# suppressions can name the library function a leak came through.
set(ULMAR_SANITIZER_TEST_ENVIRONMENT
    "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan-suppressions.txt:print_suppressions=0;ULMAR_SANITIZED=1")

# ulmar_add_test(NAME SOURCES ... LIBS ... [NEEDS_DISPLAY]): one executable,
# one ctest entry. Cross-built tests run under the toolchain's emulator
# (Wine); NEEDS_DISPLAY runs the test with an X display (a virtual one of its
# own when none is set).
function(ulmar_add_test name)
  cmake_parse_arguments(T "NEEDS_DISPLAY" "" "SOURCES;LIBS;ARGS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ulmar_test_support ulmar_test_main ${ULMAR_GTEST} ulmar_flags)
  if(T_NEEDS_DISPLAY)
    add_test(NAME ${name} COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/with-xvfb.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                                  $<TARGET_FILE:${name}> ${T_ARGS})
  else()
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  endif()
  if(T_NEEDS_DISPLAY)
    # Windows on a display have a Wine prefix of their own, one test at a
    # time: a Wine server stays bound to the display it started on.
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ULMAR_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-display;WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-display"
                                            RESOURCE_LOCK wine-display)
  else()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "ULMAR_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  endif()
  if(ULMAR_SANITIZE)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "${ULMAR_SANITIZER_TEST_ENVIRONMENT}")
  endif()
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
