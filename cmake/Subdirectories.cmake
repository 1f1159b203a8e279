include_guard(GLOBAL)
# Adds every direct subfolder of `dir` that has a CMakeLists.txt, so each area
# of tests and tools can be added without editing a shared list.
function(druvo_add_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true "${dir}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()
