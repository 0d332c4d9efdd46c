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
  target_link_libraries(requests_tests PRIVATE GTest::gtest_main GTest::gtest tnapi_internal
                        nlohmann_json::nlohmann_json)
  target_include_directories(requests_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/requests)
  target_compile_definitions(requests_tests PRIVATE TNHOST_PATH="$<TARGET_FILE:tnhost>")
  add_dependencies(requests_tests tnhost)
  gtest_discover_tests(requests_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS requests TIMEOUT 300)
endif()

# Request functions that need a real session (modal dialogs, leaving the
# session): a test client built on tnapi, run by tnhost.
if(TARGET tnapi AND TARGET session_harness AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/requests/session)
  add_executable(requests_dialog_client requests/clients/dialog_client.c)
  target_link_libraries(requests_dialog_client PRIVATE tnapi)
  file(GLOB request_session_sources CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/requests/session/*_test.cpp)
  add_executable(requests_session_tests ${request_session_sources})
  target_link_libraries(requests_session_tests PRIVATE session_harness GTest::gtest_main)
  target_compile_definitions(requests_session_tests PRIVATE
    DIALOG_CLIENT_PATH="$<TARGET_FILE:requests_dialog_client>")
  add_dependencies(requests_session_tests requests_dialog_client)
  gtest_discover_tests(requests_session_tests DISCOVERY_TIMEOUT 60
                       PROPERTIES LABELS "requests;session" TIMEOUT 120)
endif()

# The simulated host's document model, tested through the protocol against a
# running tnhost.
if(TARGET host_tests)
  find_package(nlohmann_json REQUIRED)
  target_link_libraries(host_tests PRIVATE nlohmann_json::nlohmann_json)
  target_compile_definitions(host_tests PRIVATE TNHOST_PATH="$<TARGET_FILE:tnhost>"
    TNHOST_SAMPLE="${CMAKE_SOURCE_DIR}/host/samples/sample.json")
  add_dependencies(host_tests tnhost)
endif()

# The sample client end to end through the simulated host, the host's
# features the demo relies on, and the demo script on the built programs.
if(TARGET alert_client AND TARGET session_harness)
  file(GLOB client_test_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/client/*.cpp)
  add_executable(client_tests ${client_test_sources})
  target_link_libraries(client_tests PRIVATE session_harness GTest::gtest_main)
  target_compile_definitions(client_tests PRIVATE
    ALERT_CLIENT_PATH="$<TARGET_FILE:alert_client>"
    SAMPLE_DOCUMENT="${CMAKE_SOURCE_DIR}/host/samples/sample.json"
    DEMO_SCRIPT="${CMAKE_SOURCE_DIR}/scripts/demo.sh")
  add_dependencies(client_tests alert_client)
  if(TARGET requests_dialog_client)
    target_compile_definitions(client_tests PRIVATE
      DIALOG_CLIENT_PATH="$<TARGET_FILE:requests_dialog_client>")
    add_dependencies(client_tests requests_dialog_client)
  endif()
  gtest_discover_tests(client_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS client TIMEOUT 120)
endif()
