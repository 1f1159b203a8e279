# Loads copies of the plug-in under other file names through file_name_probe
# and checks the error box: shown once per effect, with the file name as its
# caption, for a name other than the accepted ones; never for those, and never
# when the host refuses (version 0) so no effect is built.
#   cmake -DPLUGIN=<file> -DPROBE=<exe> [-DEMULATOR=<runner>] -DSUFFIX=<.so|.dll>
#         -DACCEPTED=<names> -DWORK_DIR=<dir> -P check_file_name_box.cmake
# Under wine the box cannot be watched on screen: wine's relay trace shows the
# MessageBoxA call with its text, caption and style instead.
cmake_minimum_required(VERSION 3.25)

set(text_lines
  "WARNING: Renaming the Druvo plugin file interferes with Moltrax communication and the assignable outputs feature."
  ""
  "To enable these features, please ensure the files are 'Druvo${SUFFIX}' and 'Moltrax${SUFFIX}', respectively.")
if(EMULATOR)
  set(ENV{WINEDEBUG} "+relay")
  # The relay trace prints strings escaped: a line feed as \n.
  list(JOIN text_lines "\\n" text)
else()
  list(JOIN text_lines "\n" text)
endif()

function(count_occurrences haystack needle out)
  set(count 0)
  string(LENGTH "${needle}" length)
  while(TRUE)
    string(FIND "${haystack}" "${needle}" at)
    if(at EQUAL -1)
      break()
    endif()
    math(EXPR count "${count} + 1")
    math(EXPR at "${at} + ${length}")
    string(SUBSTRING "${haystack}" ${at} -1 haystack)
  endwhile()
  set(${out} ${count} PARENT_SCOPE)
endfunction()

# Runs the probe once over `files`, `effects` effects each; expects `built`
# effects in all and returns what the plug-in wrote to standard error.
function(run_probe version effects built out)
  set(stderr_file "${WORK_DIR}/stderr.txt")
  execute_process(COMMAND ${EMULATOR} ${PROBE} ${version} ${effects} ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_FILE "${stderr_file}")
  if(EMULATOR)
    # The relay trace runs to megabytes; keep only the box calls.
    file(STRINGS "${stderr_file}" lines REGEX "MessageBox")
    list(JOIN lines "\n" stderr)
  else()
    file(READ "${stderr_file}" stderr)
  endif()
  if(NOT rc EQUAL 0 OR NOT stdout MATCHES "effects built: ${built}\n")
    message(FATAL_ERROR "probe: exit ${rc}, expected ${built} effects\n${stdout}\n${stderr}")
  endif()
  set(${out} "${stderr}" PARENT_SCOPE)
endfunction()

# Expects `boxes` boxes captioned with the file name of `file` in `stderr`.
function(expect_boxes stderr file boxes)
  cmake_path(GET file FILENAME caption)
  if(EMULATOR)
    set(captioned_call "\"${caption}\",00001010)")
  else()
    set(captioned_call "${caption}")
  endif()
  count_occurrences("${stderr}" "${captioned_call}" count)
  if(NOT count EQUAL boxes)
    message(FATAL_ERROR "${caption}: expected ${boxes} error boxes with it as caption, saw ${count}:\n${stderr}")
  endif()
  message(STATUS "${caption}: ${boxes} boxes")
endfunction()

function(expect_total stderr boxes)
  if(EMULATOR)
    count_occurrences("${stderr}" "Call user32.MessageBox" calls)
  else()
    count_occurrences("${stderr}" "WARNING: Renaming" calls)
  endif()
  count_occurrences("${stderr}" "${text}" texts)
  if(NOT calls EQUAL boxes OR NOT texts EQUAL boxes)
    message(FATAL_ERROR "expected ${boxes} error boxes with the warning text; saw ${calls} boxes, "
      "${texts} with the exact text:\n${stderr}")
  endif()
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

set(renamed "${WORK_DIR}/druvo (2)${SUFFIX}")
file(COPY_FILE "${PLUGIN}" "${renamed}")
set(accepted_copies "")
foreach(name IN LISTS ACCEPTED)
  # Some accepted names differ from others only in case: one folder each.
  file(MAKE_DIRECTORY "${WORK_DIR}/${name}.d")
  file(COPY_FILE "${PLUGIN}" "${WORK_DIR}/${name}.d/${name}")
  list(APPEND accepted_copies "${WORK_DIR}/${name}.d/${name}")
endforeach()

list(LENGTH accepted_copies accepted_count)
math(EXPR effects "2 * (1 + ${accepted_count})")
run_probe(2400 2 ${effects} stderr "${renamed}" ${accepted_copies})
expect_total("${stderr}" 2)
expect_boxes("${stderr}" "${renamed}" 2)
foreach(copy IN LISTS accepted_copies)
  expect_boxes("${stderr}" "${copy}" 0)
endforeach()

run_probe(0 2 0 stderr "${renamed}")
expect_total("${stderr}" 0)
