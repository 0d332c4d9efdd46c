# The documentation check: every public header must carry a file comment
# (Doxygen reports nothing about the declarations of an undocumented file),
# and Doxygen must finish without a warning.
#   cmake -DDOXYGEN=... -DCONFIG=... -DHEADERS=<folder> -P check_documented.cmake
file(GLOB headers ${HEADERS}/*.h ${HEADERS}/*.hpp)
set(bare "")
foreach(header IN LISTS headers)
  file(READ ${header} text)
  if(NOT text MATCHES "@file")
    list(APPEND bare ${header})
  endif()
endforeach()
if(bare)
  string(REPLACE ";" "\n  " bare "${bare}")
  message(FATAL_ERROR "headers without a /** @file */ comment:\n  ${bare}")
endif()

execute_process(COMMAND ${DOXYGEN} ${CONFIG} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "Doxygen reported undocumented or wrongly documented declarations")
endif()
