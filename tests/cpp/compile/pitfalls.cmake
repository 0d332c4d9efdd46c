# Compiles pitfalls.cpp once without a pitfall, which must succeed, then once
# per pitfall, which must fail with the diagnostic named here (g++'s or
# clang's wording). -DCXX=compiler -DSOURCE=pitfalls.cpp -DINCLUDES=a|b|c
set(cases
    "DANGLING_VIEW|deleted (function [^\n]*operator->|operator '->')"
    "DANGLING_ITEMS|deleted (function [^\n]*items|member function 'items')"
    "CONST_OWNER_OUTPUT|deleted function [^\n]*Out<T>::Out\\(const O&\\)|Out<T_StringsT>'\\) invokes a deleted function"
    "VALUE_OUTPUT|deleted function [^\n]*Out<T>::Out\\(const T&\\)|Out<int>'\\) invokes a deleted function"
    "DROPPED_RESULT|nodiscard")
string(REPLACE "|" ";" includes "${INCLUDES}")
list(TRANSFORM includes PREPEND "-I")
set(compile ${CXX} -std=c++20 -Wall -Wextra -Werror -fsyntax-only ${includes} ${SOURCE})

execute_process(COMMAND ${compile} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "pitfalls.cpp without a pitfall does not compile:\n${out}${err}")
endif()
foreach(case ${cases})
  string(FIND "${case}" "|" bar)
  string(SUBSTRING "${case}" 0 ${bar} name)
  math(EXPR bar "${bar} + 1")
  string(SUBSTRING "${case}" ${bar} -1 expected)
  execute_process(COMMAND ${compile} -D${name} RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
  if(rc EQUAL 0)
    message(SEND_ERROR "${name}: compiled, but must not")
  elseif(NOT "${out}${err}" MATCHES "${expected}")
    message(SEND_ERROR "${name}: failed without the expected diagnostic /${expected}/:\n${out}${err}")
  else()
    string(REGEX MATCH "error: [^\n]*" first "${out}${err}")
    message(STATUS "${name}: ${first}")
  endif()
endforeach()
