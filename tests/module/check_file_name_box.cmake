# Loads copies of the plug-in under other file names through file_name_probe
# and checks the error box: shown once per effect, with the file name as its
# caption, for a name other than the accepted ones; never for those.
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

# Runs the probe on `file` asking for `effects` effects; expects `built` of
# them to be made and returns what the plug-in wrote to standard error.
function(run_probe file effects version built out)
  execute_process(COMMAND ${EMULATOR} ${PROBE} ${file} ${effects} ${version}
    RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT rc EQUAL 0 OR NOT stdout MATCHES "effects built: ${built}")
    message(FATAL_ERROR "probe on ${file}: exit ${rc}\n${stdout}\n${stderr}")
  endif()
  set(${out} "${stderr}" PARENT_SCOPE)
endfunction()

function(expect_boxes file effects version boxes)
  cmake_path(GET file FILENAME caption)
  if(version EQUAL 0)
    set(built 0)
  else()
    set(built ${effects})
  endif()
  run_probe("${file}" ${effects} ${version} ${built} stderr)
  if(EMULATOR)
    count_occurrences("${stderr}" "Call user32.MessageBox" calls)
    count_occurrences("${stderr}" "\"${caption}\",00001010)" captioned)
  else()
    count_occurrences("${stderr}" "WARNING: Renaming" calls)
    count_occurrences("${stderr}" "${caption}" captioned)
  endif()
  count_occurrences("${stderr}" "${text}" texts)
  if(NOT calls EQUAL boxes OR NOT captioned EQUAL boxes OR NOT texts EQUAL boxes)
    string(REGEX MATCHALL "[^\n]*(MessageBox|WARNING)[^\n]*" shown "${stderr}")
    list(JOIN shown "\n" shown)
    message(FATAL_ERROR "${caption}, ${effects} effects, host version ${version}: expected ${boxes} boxes "
      "with the caption and the text; saw ${calls} boxes, ${captioned} with the caption, ${texts} with the text:\n${shown}")
  endif()
  message(STATUS "${caption}: ${boxes} boxes for ${built} effects")
endfunction()

file(REMOVE_RECURSE "${WORK_DIR}")
file(MAKE_DIRECTORY "${WORK_DIR}")

set(renamed "${WORK_DIR}/druvo (2)${SUFFIX}")
file(COPY_FILE "${PLUGIN}" "${renamed}")
expect_boxes("${renamed}" 2 2400 2)
expect_boxes("${renamed}" 2 0 0)

foreach(name IN LISTS ACCEPTED)
  # Some accepted names differ from others only in case; one folder each.
  file(MAKE_DIRECTORY "${WORK_DIR}/${name}.d")
  set(copy "${WORK_DIR}/${name}.d/${name}")
  file(COPY_FILE "${PLUGIN}" "${copy}")
  expect_boxes("${copy}" 1 2400 0)
endforeach()
