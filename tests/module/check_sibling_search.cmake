# Plants copies of the stand-in Moltrax where a Windows loader would look and
# checks which one the plug-in binds to, and which one the host's own
# LoadLibraryA finds. The plug-in takes the copy the host loaded, else the
# program's folder, the folders the host added for DLL loading, the system
# folder, then, unless the host restricted its DLL search, the Windows folder
# and PATH; never the current directory (a copy is planted there in every run),
# nor a relative PATH entry.
#   cmake -DPLUGIN=<dll> -DPROBE=<exe> -DSTANDIN=<Moltrax.dll> -DEMULATOR=<runner>
#         -DWORK_DIR=<dir> -P check_sibling_search.cmake
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${WORK_DIR}")
foreach(folder program plugin current path preloaded added)
  file(MAKE_DIRECTORY "${WORK_DIR}/${folder}")
endforeach()
cmake_path(GET PROBE FILENAME probe_name)
set(probe "${WORK_DIR}/program/${probe_name}")
file(COPY_FILE "${PROBE}" "${probe}")
cmake_path(GET PLUGIN FILENAME plugin_name)
set(plugin "${WORK_DIR}/plugin/${plugin_name}")
file(COPY_FILE "${PLUGIN}" "${plugin}")
foreach(folder current path preloaded added)
  file(COPY_FILE "${STANDIN}" "${WORK_DIR}/${folder}/Moltrax.dll")
endforeach()
set(in_current "${WORK_DIR}/current/Moltrax.dll")
set(in_program "${WORK_DIR}/program/Moltrax.dll")
set(in_path "${WORK_DIR}/path/Moltrax.dll")
set(preloaded "${WORK_DIR}/preloaded/Moltrax.dll")
set(in_added "${WORK_DIR}/added/Moltrax.dll")
# Wine maps the Unix root to drive Z:.
string(REPLACE "/" "\\" path_folder "Z:${WORK_DIR}/path")
string(REPLACE "/" "\\" added_folder "Z:${WORK_DIR}/added")

# Runs the probe from the current folder with `wine_path` prepended to PATH;
# `host` is the copy the host's LoadLibraryA finds and `expected` the copy the
# plug-in must bind to, each a pattern or "none".
function(expect_binding what wine_path host expected)
  set(ENV{WINEPATH} "${wine_path}")
  execute_process(COMMAND ${EMULATOR} "${probe}" "${plugin}" ${ARGN} "${in_current}"
    WORKING_DIRECTORY "${WORK_DIR}/current"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "effect 1\n" OR out MATCHES "connects -1")
    message(FATAL_ERROR "${what}: probe exit ${rc}\n${out}\n${err}")
  endif()
  string(REGEX MATCHALL "[^\n]+ connects 1" bound "${out}")
  list(LENGTH bound count)
  if(expected STREQUAL "none")
    set(ok FALSE)
    if(count EQUAL 0)
      set(ok TRUE)
    endif()
  elseif(count EQUAL 1 AND bound MATCHES "${expected}")
    set(ok TRUE)
  else()
    set(ok FALSE)
  endif()
  if(NOT out MATCHES "host loads [^\n]*${host}\n")
    message(FATAL_ERROR "${what}: expected the host's own search to find ${host}\n${out}")
  endif()
  if(NOT ok)
    message(FATAL_ERROR "${what}: expected the plug-in on ${expected}\n${out}")
  endif()
  message(STATUS "${what}: ${expected} (host: ${host})")
endfunction()

expect_binding("current directory and relative PATH entries" ".;..\\current;..\\path" "current.Moltrax.dll" none)
expect_binding("SetDllDirectory folder before PATH" "${path_folder}" "added.Moltrax.dll" "added.Moltrax.dll"
  --dll-directory "${added_folder}" "${in_added}" "${in_path}")
expect_binding("AddDllDirectory folder before PATH" "${path_folder}" "added.Moltrax.dll" "added.Moltrax.dll"
  --add-dll-directory "${added_folder}" "${in_added}" "${in_path}")
expect_binding("host restricted to its folder and System32: no PATH" "${path_folder}" none none
  --restrict "${in_path}")
expect_binding("PATH" ".;${path_folder}" "current.Moltrax.dll" "path.Moltrax.dll" "${in_path}")
expect_binding("system folder before PATH" "${path_folder}" "system32.Moltrax.dll" "system32.Moltrax.dll"
  --system "${STANDIN}" "${in_path}")
file(COPY_FILE "${STANDIN}" "${in_program}")
expect_binding("program folder before system and PATH" "${path_folder}" "program.Moltrax.dll"
  "program.Moltrax.dll" --system "${STANDIN}" "${in_program}")
expect_binding("the host's copy first" "${path_folder}" "preloaded.Moltrax.dll" "preloaded.Moltrax.dll"
  --preload "${preloaded}" "${in_program}")
