# export_declared_only(<shared library target> HEADERS <headers...> [OPTIONS <exports.py options...>])
# Links the library with a version script that cmake/exports.py writes from the headers, so that
# only what they declare leaves it; templates and type information the code instantiates from the
# standard headers stay local, which visibility alone does not achieve.

# Taken here: inside the function CMAKE_CURRENT_LIST_DIR is the caller's folder.
get_filename_component(PROJECT_EXPORTS_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/exports.py" ABSOLUTE)

function(export_declared_only target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "HEADERS;OPTIONS")
  if(arg_UNPARSED_ARGUMENTS OR NOT arg_HEADERS)
    message(FATAL_ERROR "export_declared_only(${target} HEADERS <headers...> [OPTIONS <options...>])")
  endif()
  set(map "${CMAKE_CURRENT_BINARY_DIR}/${target}.map")
  add_custom_command(
    OUTPUT "${map}"
    COMMAND "${Python3_EXECUTABLE}" "${PROJECT_EXPORTS_SCRIPT}" ${arg_OPTIONS} --version-script "${map}"
            ${arg_HEADERS}
    DEPENDS ${arg_HEADERS} "${PROJECT_EXPORTS_SCRIPT}"
    COMMENT "Writing the export list of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${map}")
  target_link_options(${target} PRIVATE "LINKER:--version-script=${map}")
  set_target_properties(${target} PROPERTIES LINK_DEPENDS "${map}")
endfunction()
