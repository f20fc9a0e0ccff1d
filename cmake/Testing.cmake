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

# ulmar_add_test(NAME SOURCES ... LIBS ...): one executable, one ctest entry.
# Cross-built tests run under the toolchain's emulator (Wine).
function(ulmar_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;ARGS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ulmar_test_support ulmar_test_main ${ULMAR_GTEST} ulmar_flags)
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "ULMAR_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()
