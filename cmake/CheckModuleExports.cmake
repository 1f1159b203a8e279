# Checks what the built plug-in file offers a host and what it needs:
#   Windows: exports exactly main @4, MoltraxConnect @2, MoltraxDisconnect @3,
#            imports only Windows system DLLs (runtimes linked in), and the
#            machine type matches the target;
#   Linux:   defines exactly main, MoltraxConnect and MoltraxDisconnect as
#            dynamic symbols and does not link Moltrax.so (it is loaded at run time).
#   cmake -DMODULE=<file> -DTOOL=<objdump (PE) or nm (ELF)> -DOBJDUMP=<objdump>
#         -DSYSTEM_PROCESSOR=<target processor> -P CheckModuleExports.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail message)
  string(APPEND failures "\n  ${message}")
endmacro()

function(run out)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE stdout ERROR_VARIABLE stderr)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN}: exit ${rc}\n${stderr}")
  endif()
  string(REPLACE ";" "," stdout "${stdout}")
  string(REPLACE "\n" ";" lines "${stdout}")
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()

# System DLLs a Windows plug-in may import; anything else (libstdc++-6.dll,
# libgcc_s_*.dll, libwinpthread-1.dll, Moltrax.dll) means a user would need
# more than the one file.
set(system_dlls
  kernel32.dll user32.dll gdi32.dll ole32.dll oleaut32.dll msvcrt.dll advapi32.dll shell32.dll
  comctl32.dll comdlg32.dll msimg32.dll shlwapi.dll uxtheme.dll winmm.dll imm32.dll version.dll
  ws2_32.dll ntdll.dll bcrypt.dll uuid.dll dwmapi.dll)

cmake_path(GET MODULE EXTENSION LAST_ONLY extension)
if(extension STREQUAL ".dll")
  run(lines ${TOOL} -p ${MODULE})
  set(exports "")
  set(base "")
  set(in_names FALSE)
  foreach(line IN LISTS lines)
    if(line MATCHES "file format (pei-[a-z0-9-]+)")
      set(format ${CMAKE_MATCH_1})
    elseif(line MATCHES "DLL Name: (.+)$")
      string(STRIP "${CMAKE_MATCH_1}" dll)
      string(TOLOWER "${dll}" dll_lower)
      if(NOT dll_lower IN_LIST system_dlls AND NOT dll_lower MATCHES "^api-ms-win-")
        fail("imports ${dll}")
      endif()
    elseif(line MATCHES "^Ordinal Base[ \t]+([0-9]+)")
      set(base ${CMAKE_MATCH_1})
    elseif(line MATCHES "^\\[Ordinal/Name Pointer\\] Table")
      set(in_names TRUE)
    elseif(in_names AND line MATCHES "^[ \t]*\\[ *([0-9]+)\\] *(\\+base\\[ *([0-9]+)\\])? *([A-Za-z_][A-Za-z0-9_@]*)")
      # Older objdump prints the unbiased ordinal, newer ones "+base[n]" as well.
      if(CMAKE_MATCH_3)
        set(ordinal ${CMAKE_MATCH_3})
      else()
        math(EXPR ordinal "${CMAKE_MATCH_1} + ${base}")
      endif()
      list(APPEND exports "${CMAKE_MATCH_4}@${ordinal}")
    elseif(in_names AND line STREQUAL "")
      set(in_names FALSE)
    endif()
  endforeach()
  list(SORT exports)
  if(NOT exports STREQUAL "MoltraxConnect@2;MoltraxDisconnect@3;main@4")
    fail("exports [${exports}], expected [MoltraxConnect@2;MoltraxDisconnect@3;main@4]")
  endif()
  if(SYSTEM_PROCESSOR MATCHES "x86_64")
    set(expected_format pei-x86-64)
  else()
    set(expected_format pei-i386)
  endif()
  if(NOT format STREQUAL expected_format)
    fail("file format ${format}, expected ${expected_format}")
  endif()
else()
  run(lines ${TOOL} -D --defined-only ${MODULE})
  set(exports "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[0-9a-fA-F]* *[A-Za-z] (.+)$")
      list(APPEND exports "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  list(SORT exports)
  if(NOT exports STREQUAL "MoltraxConnect;MoltraxDisconnect;main")
    fail("dynamic symbols [${exports}], expected [MoltraxConnect;MoltraxDisconnect;main]")
  endif()
  run(lines ${OBJDUMP} -p ${MODULE})
  foreach(line IN LISTS lines)
    if(line MATCHES "NEEDED +(.*[Mm]oltrax.*)")
      fail("links ${CMAKE_MATCH_1}; the sibling must be loaded at run time")
    endif()
  endforeach()
endif()

if(failures)
  message(FATAL_ERROR "${MODULE}:${failures}")
endif()
message(STATUS "${MODULE}: exports and imports as expected")
