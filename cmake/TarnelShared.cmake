# tarnel_shared_library(<target> OUTPUT_NAME <name> OBJECTS <object library> HEADER <tarnel/x.h>)
#
# The shared object lib<name>.so.<TARNEL_SOVERSION> from the units of an
# object library. It exports exactly what the public headers declare: the
# build writes its linker version script from the symbols the units define
# that the umbrella HEADER (and what it includes of ours) names, and every
# other symbol stays local, so a client may use any name the headers leave
# free.
function(tarnel_shared_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "OUTPUT_NAME;OBJECTS;HEADER" "")
  set(map ${CMAKE_CURRENT_BINARY_DIR}/${arg_OUTPUT_NAME}.map)
  file(GLOB public_headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/include/tarnel/*.h)
  set(includes ${PROJECT_SOURCE_DIR}/include ${TARNEL_GEN_INCLUDE} ${TIRPC_INCLUDE_DIRS})
  list(TRANSFORM includes PREPEND -I)
  add_custom_command(
    OUTPUT ${map}
    COMMAND bash ${PROJECT_SOURCE_DIR}/cmake/exports.sh ${map} ${CMAKE_C_COMPILER} ${CMAKE_NM}
            ${arg_HEADER} ${includes} -- $<TARGET_OBJECTS:${arg_OBJECTS}>
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/exports.sh ${public_headers} $<TARGET_OBJECTS:${arg_OBJECTS}>
    COMMENT "exports of lib${arg_OUTPUT_NAME}.so from ${arg_HEADER}"
    COMMAND_EXPAND_LISTS VERBATIM)
  add_custom_target(${name}_exports DEPENDS ${map})
  add_dependencies(${name}_exports ${arg_OBJECTS})

  add_library(${name} SHARED $<TARGET_OBJECTS:${arg_OBJECTS}>)
  add_dependencies(${name} ${name}_exports)
  set_target_properties(${name} PROPERTIES
    OUTPUT_NAME ${arg_OUTPUT_NAME}
    VERSION ${PROJECT_VERSION}
    SOVERSION ${TARNEL_SOVERSION}
    EXPORT_NAME ${arg_OUTPUT_NAME}_shared
    LINK_DEPENDS ${map})
  target_link_options(${name} PRIVATE "LINKER:--version-script=${map}")
  # Installed outside the system's library folders, libtnapi.so.0 finds
  # libtde.so.0 beside itself (a client's own run path reaches only the
  # objects it links directly).
  if(NOT TARNEL_SYSTEM_PREFIX)
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN")
  endif()
endfunction()
