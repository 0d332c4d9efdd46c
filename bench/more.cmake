# Session timings against the simulated host (needs the host and a test client).
if(TARGET tnhost AND TARGET session_client)
  add_executable(session_bench ${CMAKE_CURRENT_SOURCE_DIR}/session_bench.cpp)
  target_link_libraries(session_bench PRIVATE benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(session_bench PRIVATE
    TNHOST_PATH="$<TARGET_FILE:tnhost>" SESSION_CLIENT_PATH="$<TARGET_FILE:session_client>")
  add_dependencies(session_bench tnhost session_client)
endif()

# Request layer against raw RPC, on the simulated host that the request tests
# use (its harness is compiled in).
if(TARGET tnhost AND TARGET tnapi)
  find_package(nlohmann_json REQUIRED)
  add_executable(requests_bench ${CMAKE_CURRENT_SOURCE_DIR}/requests_bench.cpp
                 ${CMAKE_SOURCE_DIR}/tests/requests/harness.cpp)
  # benchmark_main first: the API archive carries a default main of its own.
  target_link_libraries(requests_bench PRIVATE benchmark::benchmark_main benchmark::benchmark tnapi
                        nlohmann_json::nlohmann_json)
  target_include_directories(requests_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/requests)
  target_compile_definitions(requests_bench PRIVATE TNHOST_PATH="$<TARGET_FILE:tnhost>")
  add_dependencies(requests_bench tnhost)
endif()
