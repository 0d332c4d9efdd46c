# Session timings against the simulated host (needs the host and a test client).
if(TARGET tnhost AND TARGET session_client)
  add_executable(session_bench ${CMAKE_CURRENT_SOURCE_DIR}/session_bench.cpp)
  target_link_libraries(session_bench PRIVATE benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(session_bench PRIVATE
    TNHOST_PATH="$<TARGET_FILE:tnhost>" SESSION_CLIENT_PATH="$<TARGET_FILE:session_client>")
  add_dependencies(session_bench tnhost session_client)
endif()
