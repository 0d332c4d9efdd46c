# What a client programmer needs, installed by `cmake --install` in three
# components, which are also the Debian packages (cmake/packages.cmake):
#   runtime  the shared objects libtnapi.so.0 and libtde.so.0
#   dev      the public headers (the generated ones too), the archives, the
#            default main and callbacks for shared clients (libtnapi_main.a),
#            the link names, the CMake package with a version file,
#            tarnel.pc and tarnel-static.pc, and the request table
#            (share/doc/Tarnel/requests.md)
#   tnhost   the simulated host, its imported target and tarnel_add_client_test
include(CMakePackageConfigHelpers)

set(TARNEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tarnel)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/tarnel ${TARNEL_GEN_INCLUDE}/tarnel
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT dev
        FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")

set(tarnel_libraries tde tnapi)
if(TARNEL_SHARED)
  list(APPEND tarnel_libraries tde_shared tnapi_shared tnapi_main)
endif()
install(TARGETS ${tarnel_libraries} EXPORT TarnelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT dev
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime NAMELINK_COMPONENT dev
                PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
install(EXPORT TarnelTargets NAMESPACE Tarnel:: DESTINATION ${TARNEL_CMAKE_DIR} COMPONENT dev)
if(TARGET tnhost)
  install(TARGETS tnhost EXPORT TarnelHostTargets RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT tnhost)
  install(EXPORT TarnelHostTargets NAMESPACE Tarnel:: DESTINATION ${TARNEL_CMAKE_DIR} COMPONENT tnhost)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/TarnelClientTest.cmake DESTINATION ${TARNEL_CMAKE_DIR} COMPONENT tnhost)
endif()

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TarnelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TarnelConfig.cmake INSTALL_DESTINATION ${TARNEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TarnelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TarnelConfig.cmake ${PROJECT_BINARY_DIR}/TarnelConfigVersion.cmake
        DESTINATION ${TARNEL_CMAKE_DIR} COMPONENT dev)

# pkg-config: paths relative to the .pc file, so the installed tree can move;
# in /usr the plain paths, which pkg-config knows for the system's own and
# leaves off the command line.
# tarnel links the shared objects, tarnel-static the archives: pkg-config
# can only add to a module's libraries, never swap them, and the system's
# own libraries (libtirpc with its Kerberos libraries) have no archives to
# link a wholly static client with.
set(TARNEL_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH TARNEL_PC_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${TARNEL_PC_DIR} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TARNEL_PC_TO_PREFIX "${TARNEL_PC_TO_PREFIX}")
set(TARNEL_PC_PREFIX "\${pcfiledir}/${TARNEL_PC_TO_PREFIX}")
if(TARNEL_SYSTEM_PREFIX)
  set(TARNEL_PC_PREFIX /usr)
endif()
set(TARNEL_PC_STATIC_LIBS "-l:libtnapi.a -l:libtde.a -lstdc++ -lm")
if(TARNEL_SHARED)
  set(TARNEL_PC_LIBS "-ltnapi -ltnapi_main -ltde")
  # Installed outside the system's library folders, a client must find the
  # shared objects at run time too.
  if(NOT TARNEL_SYSTEM_PREFIX)
    string(PREPEND TARNEL_PC_LIBS "-Wl,-rpath,\${libdir} ")
  endif()
  set(TARNEL_PC_KIND "shared objects")
else()
  set(TARNEL_PC_LIBS ${TARNEL_PC_STATIC_LIBS})
  set(TARNEL_PC_KIND "static archives")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarnel.pc.in ${PROJECT_BINARY_DIR}/tarnel.pc @ONLY)
set(TARNEL_PC_LIBS ${TARNEL_PC_STATIC_LIBS})
set(TARNEL_PC_KIND "static archives")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarnel.pc.in ${PROJECT_BINARY_DIR}/tarnel-static.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tarnel.pc ${PROJECT_BINARY_DIR}/tarnel-static.pc
        DESTINATION ${TARNEL_PC_DIR} COMPONENT dev)

get_property(tarnel_request_table GLOBAL PROPERTY TARNEL_REQUEST_TABLE)
install(FILES ${tarnel_request_table} DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT dev)
