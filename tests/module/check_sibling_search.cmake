# Plants copies of the stand-in Moltrax where a Windows loader would look and
# checks which one the plug-in binds to: the copy the host loaded, else the
# program's folder, the system folder, then PATH; never the current directory
# (a copy is planted there in every run), nor a relative PATH entry.
#   cmake -DPLUGIN=<dll> -DPROBE=<exe> -DSTANDIN=<Moltrax.dll> -DEMULATOR=<runner>
#         -DWORK_DIR=<dir> -P check_sibling_search.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
foreach(folder program plugin current path preloaded)
  file(MAKE_DIRECTORY "${WORK_DIR}/${folder}")
endforeach()
cmake_path(GET PROBE FILENAME probe_name)
set(probe "${WORK_DIR}/program/${probe_name}")
file(COPY_FILE "${PROBE}" "${probe}")
cmake_path(GET PLUGIN FILENAME plugin_name)
set(plugin "${WORK_DIR}/plugin/${plugin_name}")
file(COPY_FILE "${PLUGIN}" "${plugin}")
foreach(folder current path preloaded)
  file(COPY_FILE "${STANDIN}" "${WORK_DIR}/${folder}/Moltrax.dll")
endforeach()
set(in_current "${WORK_DIR}/current/Moltrax.dll")
set(in_program "${WORK_DIR}/program/Moltrax.dll")
set(in_path "${WORK_DIR}/path/Moltrax.dll")
set(preloaded "${WORK_DIR}/preloaded/Moltrax.dll")
# Wine maps the Unix root to drive Z:.
string(REPLACE "/" "\\" path_folder "Z:${WORK_DIR}/path")

# Runs the probe from the current folder with `wine_path` prepended to PATH;
# `expected` is the copy the plug-in must bind to, or "none".
function(expect_binding what wine_path expected)
  set(ENV{WINEPATH} "${wine_path}")
  execute_process(COMMAND ${EMULATOR} "${probe}" "${plugin}" ${ARGN} "${in_current}"
    WORKING_DIRECTORY "${WORK_DIR}/current"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${what}: probe exit ${rc}\n${out}\n${err}")
  endif()
  string(REGEX MATCHALL "[^\n]+ connects 1" bound "${out}")
  list(LENGTH bound count)
  if(expected STREQUAL "none")
    set(ok FALSE)
    if(count EQUAL 0 AND out MATCHES "connect 0\n")
      set(ok TRUE)
    endif()
  elseif(count EQUAL 1 AND bound MATCHES "${expected}")
    set(ok TRUE)
  else()
    set(ok FALSE)
  endif()
  if(NOT ok)
    message(FATAL_ERROR "${what}: expected the plug-in on ${expected}\n${out}")
  endif()
  message(STATUS "${what}: ${expected}")
endfunction()

expect_binding("current directory and a relative PATH entry" "." none)
expect_binding("PATH" ".;${path_folder}" "path/Moltrax.dll" "${in_path}")
expect_binding("system folder before PATH" "${path_folder}" "system32.Moltrax.dll" --system "${STANDIN}" "${in_path}")
file(COPY_FILE "${STANDIN}" "${in_program}")
expect_binding("program folder before system and PATH" "${path_folder}" "program/Moltrax.dll"
  --system "${STANDIN}" "${in_program}")
expect_binding("the host's copy first" "${path_folder}" "preloaded/Moltrax.dll"
  --preload "${preloaded}" "${in_program}")
