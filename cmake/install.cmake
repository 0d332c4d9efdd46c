# What a client programmer needs, installed by `cmake --install`: the public
# headers (the generated ones too), both archives, tnhost, a CMake package
# with imported targets, a version file and tarnel_add_client_test, a
# pkg-config file, and the request table (share/doc/Tarnel/requests.md).
include(CMakePackageConfigHelpers)

set(TARNEL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tarnel)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/tarnel ${TARNEL_GEN_INCLUDE}/tarnel
        DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} FILES_MATCHING PATTERN "*.h" PATTERN "*.hpp")

set(tarnel_installed tde tnapi)
if(TARGET tnhost)
  list(APPEND tarnel_installed tnhost)
endif()
install(TARGETS ${tarnel_installed} EXPORT TarnelTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT TarnelTargets NAMESPACE Tarnel:: DESTINATION ${TARNEL_CMAKE_DIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/TarnelConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TarnelConfig.cmake INSTALL_DESTINATION ${TARNEL_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TarnelConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TarnelConfig.cmake ${PROJECT_BINARY_DIR}/TarnelConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/TarnelClientTest.cmake
        DESTINATION ${TARNEL_CMAKE_DIR})

# pkg-config: paths relative to the .pc file, so the installed tree can move.
set(TARNEL_PC_DIR ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
file(RELATIVE_PATH TARNEL_PC_TO_PREFIX ${CMAKE_INSTALL_PREFIX}/${TARNEL_PC_DIR} ${CMAKE_INSTALL_PREFIX})
string(REGEX REPLACE "/$" "" TARNEL_PC_TO_PREFIX "${TARNEL_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/tarnel.pc.in ${PROJECT_BINARY_DIR}/tarnel.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tarnel.pc DESTINATION ${TARNEL_PC_DIR})

get_property(tarnel_request_table GLOBAL PROPERTY TARNEL_REQUEST_TABLE)
install(FILES ${tarnel_request_table} DESTINATION ${CMAKE_INSTALL_DOCDIR})
