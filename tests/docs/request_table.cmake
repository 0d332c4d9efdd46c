# The generated request table against the public headers: every request
# function that the request headers declare has a row, and every function a
# row names is declared there.
#   cmake -DTABLE=<requests.md> -DHEADERS=<include/tarnel> -P request_table.cmake
cmake_minimum_required(VERSION 3.20)
file(GLOB headers ${HEADERS}/tnapi_req_*.h ${HEADERS}/tnapi_requests.h)
set(declared "")
foreach(header IN LISTS headers)
  file(STRINGS ${header} lines REGEX "^[A-Za-z_].*T_Api[A-Za-z0-9_]*[ \t]*\\(")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "[A-Za-z0-9_]*T_Api[A-Za-z0-9_]*[ \t]*\\(" name "${line}")
    string(REGEX REPLACE "[ \t]*\\($" "" name "${name}")
    list(APPEND declared ${name})
  endforeach()
endforeach()
list(REMOVE_DUPLICATES declared)
list(LENGTH declared count)
if(count LESS 100)
  message(FATAL_ERROR "only ${count} request functions found in ${HEADERS}: the declarations were not understood")
endif()

# Rows: "| procedure | `stub` | function() | argument | reply |"; a procedure
# that no request function sends has "(none...)" in the function's place.
file(STRINGS ${TABLE} rows REGEX "^\\| [0-9]+ \\|")
set(listed "")
foreach(row IN LISTS rows)
  string(REGEX REPLACE "^\\| [0-9]+ \\| [^|]* \\| ([^|]*) \\|.*" "\\1" cell "${row}")
  if(cell MATCHES "^\\(none")
    continue()
  endif()
  if(NOT cell MATCHES "^[A-Za-z_][A-Za-z0-9_]*\\(\\)$")
    message(FATAL_ERROR "row not understood: ${row}")
  endif()
  string(REPLACE "()" "" cell "${cell}")
  list(APPEND listed ${cell})
endforeach()

set(missing ${declared})
list(REMOVE_ITEM missing ${listed})
set(unknown ${listed})
list(REMOVE_ITEM unknown ${declared})
if(missing OR unknown)
  message(FATAL_ERROR "request table ${TABLE}:\n  declared but without a row: ${missing}\n"
                      "  in a row but declared by no request header: ${unknown}")
endif()
