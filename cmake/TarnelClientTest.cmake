# tarnel_add_client_test(NAME <test> CLIENT <target or path> SCENARIO <file>
#                        [DOCUMENTS <file>...] [VARS <NAME=VALUE>...] [TIMEOUT <seconds>])
# tarnel_add_client_test(NAME <test> CLIENT <target or path> REPLAY <file> [TIMEOUT <seconds>])
#
# Adds a CTest test that runs the client under the simulated host
# (Tarnel::tnhost) with the scenario. The scenario names the client's program
# as ${client}; each of DOCUMENTS is opened before the first step (as the
# scenario's "documents" are), and VARS give the values of further ${NAME}s.
# Relative files are taken from the calling folder. The test passes when
# tnhost exits 0, that is when every step and expectation held.
#
# With REPLAY instead of SCENARIO, tnhost plays back a session the client's
# trace recorded (TARNEL_TRACE_FORMAT=json), against any host: the client,
# launched as recorded, must send the recorded requests in order, and gets
# the recorded replies.
#
# Without TIMEOUT the test may run for the scenario's own limit ("timeout_s",
# read now; tnhost's default 60 when it has none or the file does not exist
# yet) plus a margin of 30 seconds, after which tnhost has ended by itself.
function(tarnel_add_client_test)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "NAME;CLIENT;SCENARIO;REPLAY;TIMEOUT" "DOCUMENTS;VARS")
  if(NOT arg_NAME OR NOT arg_CLIENT OR (NOT arg_SCENARIO AND NOT arg_REPLAY))
    message(FATAL_ERROR "tarnel_add_client_test: NAME, CLIENT and SCENARIO (or REPLAY) are required")
  endif()
  if(arg_SCENARIO AND arg_REPLAY)
    message(FATAL_ERROR "tarnel_add_client_test(${arg_NAME}): give SCENARIO or REPLAY, not both")
  endif()
  if(arg_REPLAY AND (arg_DOCUMENTS OR arg_VARS))
    message(FATAL_ERROR "tarnel_add_client_test(${arg_NAME}): DOCUMENTS and VARS go with SCENARIO; a replay has its replies")
  endif()
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tarnel_add_client_test(${arg_NAME}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT TARGET Tarnel::tnhost)
    message(FATAL_ERROR "tarnel_add_client_test(${arg_NAME}): no Tarnel::tnhost (install Tarnel with its host)")
  endif()
  set(client ${arg_CLIENT})
  if(TARGET ${arg_CLIENT})
    set(client $<TARGET_FILE:${arg_CLIENT}>)
  endif()
  if(arg_REPLAY)
    cmake_path(ABSOLUTE_PATH arg_REPLAY BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    add_test(NAME ${arg_NAME} COMMAND $<TARGET_FILE:Tarnel::tnhost> --replay ${arg_REPLAY} --client ${client})
    if(NOT arg_TIMEOUT)
      set(arg_TIMEOUT 90)  # tnhost's own limit, 60 s, and a margin
    endif()
    set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT ${arg_TIMEOUT})
    return()
  endif()
  cmake_path(ABSOLUTE_PATH arg_SCENARIO BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
  set(command $<TARGET_FILE:Tarnel::tnhost> --scenario ${arg_SCENARIO} --var client=${client})
  foreach(document IN LISTS arg_DOCUMENTS)
    cmake_path(ABSOLUTE_PATH document BASE_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND command --document ${document})
  endforeach()
  foreach(var IN LISTS arg_VARS)
    list(APPEND command --var ${var})
  endforeach()
  add_test(NAME ${arg_NAME} COMMAND ${command})
  if(NOT arg_TIMEOUT)
    set(limit 60)
    if(EXISTS ${arg_SCENARIO} AND NOT IS_DIRECTORY ${arg_SCENARIO})
      file(READ ${arg_SCENARIO} scenario)
      string(JSON given ERROR_VARIABLE error GET "${scenario}" timeout_s)
      if(NOT error AND given MATCHES "^[0-9]+$" AND given GREATER 0)
        set(limit ${given})
      endif()
      # A changed limit reaches the test at the next build.
      set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${arg_SCENARIO})
    endif()
    math(EXPR arg_TIMEOUT "${limit} + 30")
  endif()
  set_tests_properties(${arg_NAME} PROPERTIES TIMEOUT ${arg_TIMEOUT})
endfunction()
