# winplat_add_resources(<target> MODULE <windows file name> [PROGRAM] [NAMESPACE <c++ namespace>]
#                       SOURCES <resource files...>)
# Compiles the project's text resource files into a C++ table that registers the target's module
# descriptor when it is loaded, and a header of the ids named in them: for MODULE "pixmill.dll" the
# target and what links it include "resources/pixmill_ids.h", which declares the names in
# namespace pixmill::res unless NAMESPACE says otherwise (platform/tools/rescomp/rescomp.py
# describes the names).

# Taken here: inside the function CMAKE_CURRENT_LIST_DIR is the caller's folder.
get_filename_component(WINPLAT_RESCOMP_DIR "${CMAKE_CURRENT_LIST_DIR}/../platform/tools/rescomp" ABSOLUTE)
set(WINPLAT_RESCOMP "${WINPLAT_RESCOMP_DIR}/rescomp.py")

function(winplat_add_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "PROGRAM" "MODULE;NAMESPACE" "SOURCES")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "winplat_add_resources(${target}): unknown arguments: ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_MODULE)
    message(FATAL_ERROR "winplat_add_resources(${target}): MODULE <windows file name> is required")
  endif()
  if(NOT arg_SOURCES)
    message(FATAL_ERROR "winplat_add_resources(${target}): SOURCES <resource files> is required")
  endif()

  set(inputs "")
  foreach(source IN LISTS arg_SOURCES)
    get_filename_component(path "${source}" ABSOLUTE BASE_DIR "${CMAKE_CURRENT_SOURCE_DIR}")
    list(APPEND inputs "${path}")
  endforeach()

  set(program_flag "")
  if(arg_PROGRAM)
    set(program_flag --program)
  endif()

  # The module's file name without its extension names the header and the default namespace.
  string(REGEX REPLACE "\\.[^.]*$" "" stem "${arg_MODULE}")
  string(TOLOWER "${stem}" stem)
  set(namespace "${stem}::res")
  if(arg_NAMESPACE)
    set(namespace "${arg_NAMESPACE}")
  endif()

  set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  set(header_dir "${CMAKE_CURRENT_BINARY_DIR}/${target}_ids")
  set(header "${header_dir}/resources/${stem}_ids.h")
  # The pictures the resource files name are found while compiling them: the depfile lists them.
  set(depfile "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.d")
  # rescomp rewrites each output only when it changes, so editing a text recompiles the table and
  # only a changed name or id recompiles the code that includes the header.
  add_custom_command(
    OUTPUT "${output}" "${header}"
    COMMAND "${Python3_EXECUTABLE}" -B "${WINPLAT_RESCOMP}" --module "${arg_MODULE}" ${program_flag}
            --output "${output}" --header "${header}" --namespace "${namespace}" --depfile "${depfile}" ${inputs}
    DEPENDS ${inputs} "${WINPLAT_RESCOMP}" "${WINPLAT_RESCOMP_DIR}/pix.py" "${WINPLAT_RESCOMP_DIR}/picture_statements.py"
    DEPFILE "${depfile}"
    COMMENT "Compiling resources of ${arg_MODULE}"
    VERBATIM)
  # The header is a source of the target, so none of its files compiles before it is written; what
  # links the target is built after it.
  target_sources(${target} PRIVATE "${output}" "${header}")
  target_include_directories(${target} PUBLIC "${header_dir}")
endfunction()
