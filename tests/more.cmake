# End-to-end tests of the session against the simulated host.
if(TARGET tnapi AND TARGET tnhost)
  add_subdirectory(session)
endif()
