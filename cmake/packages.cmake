# Debian packages by CPack, one per install component (cmake/install.cmake):
#   libtarnel0     the shared objects (section libs, with a shlibs file and
#                  the ldconfig trigger)
#   libtarnel-dev  headers, archives, link names, CMake package, pkg-config
#   tarnel-tnhost  the simulated host and tarnel_add_client_test
# Built from a tree configured for /usr (the deb preset), so that the files
# land where Debian puts them; each package carries its copyright file and
# changelog as Debian policy asks, and tnhost its manual page.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarnel)
set(CPACK_PACKAGE_VENDOR "Tarnel developers")
set(CPACK_PACKAGE_CONTACT "Tarnel developers <tarnel-dev@tarnel.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL runtime dev tnhost)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/packaging/cpack_options.cmake)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://tarnel.example/")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libtarnel0)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
# Only libtarnel0 has shared objects, so only it gets a shlibs file.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "Client API library for plug-ins of the Tarnel host
The shared libraries libtnapi.so.0 (the API library: the session with the
host, the request functions, value utilities, trace and pipelining) and
libtde.so.0 (the foundation: memory, strings, metric arithmetic, character
tables, the formatter) that Tarnel plug-in clients run with.")

set(CPACK_DEBIAN_DEV_PACKAGE_NAME libtarnel-dev)
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "libtarnel0 (= ${PROJECT_VERSION}), libtirpc-dev")
# What building a client takes on a machine that has nothing else yet.
set(CPACK_DEBIAN_DEV_PACKAGE_RECOMMENDS "g++ | c++-compiler, cmake, make, pkg-config")
set(CPACK_DEBIAN_DEV_DESCRIPTION "Client API library for plug-ins of the Tarnel host (development files)
Headers for C and C++20 clients, the static archives, the default main and
callbacks for clients of the shared libraries (libtnapi_main.a), the CMake
package Tarnel (targets Tarnel::tnapi and Tarnel::tde, shared or static),
the pkg-config modules tarnel and tarnel-static, and the request table.")

set(CPACK_DEBIAN_TNHOST_PACKAGE_NAME tarnel-tnhost)
set(CPACK_DEBIAN_TNHOST_PACKAGE_SECTION devel)
# rpcbind reads the service names of netbase, which minimal systems lack.
set(CPACK_DEBIAN_TNHOST_PACKAGE_DEPENDS "rpcbind, netbase")
set(CPACK_DEBIAN_TNHOST_PACKAGE_RECOMMENDS "libtarnel-dev (= ${PROJECT_VERSION})")
set(CPACK_DEBIAN_TNHOST_DESCRIPTION "Simulated Tarnel host for running and testing plug-in clients
tnhost launches clients, serves their requests from an in-memory document
model and prints a transcript, or replays a session a client's trace
recorded. With libtarnel-dev, the CMake function tarnel_add_client_test
runs a client under it as a CTest test.")

foreach(component runtime dev tnhost)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(doc ${PROJECT_BINARY_DIR}/packaging/${package})
  file(MAKE_DIRECTORY ${doc})
  configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog ${doc}/changelog @ONLY)
  execute_process(COMMAND gzip -9nf ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${doc}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${package} COMPONENT ${component})
endforeach()

# tnhost's manual page, compressed as Debian installs them.
configure_file(${PROJECT_SOURCE_DIR}/packaging/tnhost.1.in ${PROJECT_BINARY_DIR}/packaging/tnhost.1 @ONLY)
execute_process(COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/packaging/tnhost.1 COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/tnhost.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT tnhost)

include(CPack)
