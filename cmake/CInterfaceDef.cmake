# Cuts the linker's full export list (IN) down to the C interface (OUT): the VBase_ functions,
# undecorated, for an import library that MSVC clients link.
file(STRINGS ${IN} lines)
set(out "LIBRARY Morvit32.dll\nEXPORTS\n")
foreach(line ${lines})
  if(line MATCHES "^[ \t]*(VBase_[A-Za-z0-9_]+)")
    string(APPEND out "    ${CMAKE_MATCH_1}\n")
  endif()
endforeach()
file(WRITE ${OUT} "${out}")
