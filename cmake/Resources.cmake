# winplat_add_resources(<target> MODULE <windows file name> [PROGRAM] SOURCES <resource files...>)
# Compiles the project's text resource files into a C++ table that registers the target's module
# descriptor when it is loaded.

# Taken here: inside the function CMAKE_CURRENT_LIST_DIR is the caller's folder.
get_filename_component(WINPLAT_RESCOMP "${CMAKE_CURRENT_LIST_DIR}/../platform/tools/rescomp/rescomp.py" ABSOLUTE)

function(winplat_add_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "PROGRAM" "MODULE" "SOURCES")
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

  set(output "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  add_custom_command(
    OUTPUT "${output}"
    COMMAND "${Python3_EXECUTABLE}" "${WINPLAT_RESCOMP}" --module "${arg_MODULE}" ${program_flag}
            --output "${output}" ${inputs}
    DEPENDS ${inputs} "${WINPLAT_RESCOMP}"
    COMMENT "Compiling resources of ${arg_MODULE}"
    VERBATIM)
  target_sources(${target} PRIVATE "${output}")
endfunction()
