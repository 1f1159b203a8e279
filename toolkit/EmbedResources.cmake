# druvo_embed_resources(<target> <function> <id> <file> [<id> <file> ...])
#
# Compiles the files' bytes into <target> as a table keyed by resource id and
# generates the header "<function>.h" declaring
#     MX::toolkit::ResourceTable MX::<function>() noexcept;
# Hand the table to a toolkit EmbeddedResourceProvider. The bytes are read at
# build time, so editing a file rebuilds the table.
include_guard(GLOBAL)

function(druvo_embed_resources target function)
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/embed_resources_script.cmake)
  set(pairs ${ARGN})
  list(LENGTH pairs count)
  math(EXPR odd "${count} % 2")
  if(count EQUAL 0 OR odd)
    message(FATAL_ERROR "druvo_embed_resources: expected <id> <file> pairs, got '${pairs}'")
  endif()

  set(resources "")
  set(files "")
  set(separator "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 2)
    math(EXPR j "${i} + 1")
    list(GET pairs ${i} id)
    list(GET pairs ${j} file)
    if(NOT id MATCHES "^[0-9]+$")
      message(FATAL_ERROR "druvo_embed_resources: resource id '${id}' is not a number")
    endif()
    get_filename_component(file "${file}" ABSOLUTE)
    list(APPEND files "${file}")
    string(APPEND resources "${separator}${id}|${file}")
    set(separator "|")
  endforeach()

  set(out_dir ${CMAKE_CURRENT_BINARY_DIR}/embedded_resources/${target})
  set(source ${out_dir}/${function}.cpp)
  set(header ${out_dir}/${function}.h)
  add_custom_command(
    OUTPUT ${source} ${header}
    COMMAND ${CMAKE_COMMAND} -DFUNCTION=${function} -DRESOURCES=${resources}
            -DOUTPUT_SOURCE=${source} -DOUTPUT_HEADER=${header} -P ${script}
    DEPENDS ${files} ${script}
    COMMENT "Embedding resources into ${function}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source} ${header})
  target_include_directories(${target} PUBLIC ${out_dir})
endfunction()
