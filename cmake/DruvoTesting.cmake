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

# druvo_add_window_test(<name> SOURCES <files...> LIBS <targets...> [SCALED_CASES <pattern>])
# A test that opens real windows, under a virtual X server of its own
# (scripts/xvfb-test.sh): X11 natively, Win32 under wine with that server as
# wine's display. Label "window". The GoogleTest cases SCALED_CASES matches run
# apart, as <name>_2x, on a display at 192 DPI (200 %): Xft.dpi on the X
# server; LogPixels in a wine prefix of their own, so the shared one stays at 96.
function(druvo_add_window_test name)
  cmake_parse_arguments(T "" "SCALED_CASES" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  set(filter "")
  if(T_SCALED_CASES)
    set(filter --gtest_filter=-${T_SCALED_CASES})
    druvo_register_window_test(${name}_2x ${name} 192 --gtest_filter=${T_SCALED_CASES})
  endif()
  druvo_register_window_test(${name} ${name} "" ${filter})
endfunction()

# One ctest entry running <target> with <arguments...>; a non-empty <dpi> sets
# the display's DPI.
function(druvo_register_window_test test target dpi)
  set(xvfb_test ${PROJECT_SOURCE_DIR}/scripts/xvfb-test.sh)
  if(WIN32)
    # One wine prefix per DPI for window tests, one test at a time: its
    # wineserver belongs to the X server of the test that started it.
    set(prefix ${CMAKE_BINARY_DIR}/wine-window-prefix)
    if(dpi)
      set(prefix ${prefix}-${dpi})
    endif()
    set(environment "WINEPREFIX=${prefix}")
    if(dpi)
      list(APPEND environment "DRUVO_WINE_LOGPIXELS=${dpi}")
    endif()
    add_test(NAME ${test}
      COMMAND ${xvfb_test} ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:${target}> ${ARGN})
    set_tests_properties(${test} PROPERTIES
      ENVIRONMENT "${environment}"
      RESOURCE_LOCK wine_window_prefix${dpi})
  else()
    add_test(NAME ${test} COMMAND ${xvfb_test} $<TARGET_FILE:${target}> ${ARGN})
    set(lsan "suppressions=${PROJECT_SOURCE_DIR}/tests/toolkit/lsan_suppressions.txt")
    if(dpi)
      # The slow unwinder sees through cairo to the suppressed caller.
      set(environment "LSAN_OPTIONS=${lsan}:fast_unwind_on_malloc=0" "DRUVO_XFT_DPI=${dpi}")
    else()
      set(environment "LSAN_OPTIONS=${lsan}")
    endif()
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}")
  endif()
  set_tests_properties(${test} PROPERTIES LABELS window)
endfunction()
