# End-to-end tests of the session against the simulated host.
if(TARGET tnapi AND TARGET tnhost)
  add_subdirectory(session)
endif()

# Request functions, run against a simulated host that serves the test
# process itself.
if(TARGET tnapi AND TARGET tnhost AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/requests)
  find_package(nlohmann_json REQUIRED)
  file(GLOB request_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/requests/*.cpp)
  add_executable(requests_tests ${request_test_sources})
  target_link_libraries(requests_tests PRIVATE GTest::gtest_main GTest::gtest tnapi
                        nlohmann_json::nlohmann_json)
  target_include_directories(requests_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/requests
                             ${CMAKE_SOURCE_DIR}/apilib ${CMAKE_BINARY_DIR}/apilib/wire)
  target_compile_definitions(requests_tests PRIVATE TNHOST_PATH="$<TARGET_FILE:tnhost>")
  add_dependencies(requests_tests tnhost)
  gtest_discover_tests(requests_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS requests TIMEOUT 300)
endif()
