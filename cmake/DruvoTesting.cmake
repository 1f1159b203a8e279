# Test helpers shared by every test folder.
include_guard(GLOBAL)

if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest sources; build them with the cross compiler.
  if(NOT TARGET gtest)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    # Recent googletest sources define the namespaced aliases themselves.
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# druvo_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test executable, run by ctest (under the cross-compiling emulator, wine, on Windows).
function(druvo_add_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
endfunction()

# druvo_add_window_test(<name> SOURCES <files...> LIBS <targets...>)
# A test that opens real windows, under a virtual X server of its own
# (scripts/xvfb-test.sh): X11 natively, Win32 under wine with that server as
# wine's display. Label "window".
function(druvo_add_window_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  set(xvfb_test ${PROJECT_SOURCE_DIR}/scripts/xvfb-test.sh)
  if(WIN32)
    # One wine prefix for window tests, one test at a time: its wineserver
    # belongs to the X server of the test that started it.
    add_test(NAME ${name}
      COMMAND ${xvfb_test} ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wine-window-prefix"
      RESOURCE_LOCK wine_window_prefix)
  else()
    add_test(NAME ${name} COMMAND ${xvfb_test} $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/toolkit/lsan_suppressions.txt")
  endif()
  set_tests_properties(${name} PROPERTIES LABELS window)
endfunction()
