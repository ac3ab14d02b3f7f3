# Checks that a built engine library exports exactly the functions the public
# header declares, and (for the Windows DLL) that it imports system DLLs only.
#
#   cmake -DHEADER=vantaro.h -DLIBRARY=vantaro.dll -DFORMAT=pe -DTOOL=objdump -P check_exports.cmake
#   cmake -DHEADER=vantaro.h -DLIBRARY=libvantaro.so -DFORMAT=elf -DTOOL=nm -P check_exports.cmake
#
# Expected names: every identifier declared with VANTARO_API in the header
# (the name just before the first parenthesis of the declaration). Besides
# those, only members of the exported matrix classes of namespace TNX may be
# exported: mangled names that start with _ZN3TNX / _ZNK3TNX (members) or
# _ZTVN3TNX / _ZTIN3TNX / _ZTSN3TNX (their virtual tables and type
# information). Anything else exported, or anything declared and missing,
# fails the check.
cmake_minimum_required(VERSION 3.25)
foreach(var HEADER LIBRARY FORMAT TOOL)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_exports: ${var} not set")
  endif()
endforeach()

# --- expected: the header's VANTARO_API declarations -----------------------
file(READ ${HEADER} text)
string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" " " text "${text}")  # block comments
string(REGEX REPLACE "//[^\n]*" " " text "${text}")                    # line comments
string(REGEX REPLACE "#[ \t]*define[^\n]*" " " text "${text}")          # the macro itself
string(REGEX MATCHALL "VANTARO_API[^;(]*\\(" decls "${text}")
set(expected)
foreach(decl ${decls})
  if(decl MATCHES "([A-Za-z_][A-Za-z0-9_]*)[ \t\r\n]*\\($")
    list(APPEND expected ${CMAKE_MATCH_1})
  endif()
endforeach()
list(REMOVE_DUPLICATES expected)
list(SORT expected)
list(LENGTH expected n_expected)
if(n_expected EQUAL 0)
  message(FATAL_ERROR "check_exports: no VANTARO_API declarations found in ${HEADER}")
endif()

# --- actual: the library's export table -------------------------------------
if(FORMAT STREQUAL "pe")
  execute_process(COMMAND ${TOOL} -p ${LIBRARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "check_exports: ${TOOL} -p ${LIBRARY} failed (${rc})")
  endif()
  # Export names: the lines "[   n] Name" of the name pointer table.
  string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table[^\n]*\n(([ \t]*\\[[ 0-9]+\\][^\n]*\n)*)" table "${dump}")
  string(REGEX MATCHALL "\\[[ 0-9]+\\] +[^\n]+" rows "${CMAKE_MATCH_1}")
  set(actual)
  foreach(row ${rows})
    string(REGEX REPLACE "^\\[[ 0-9]+\\] +" "" name "${row}")
    string(STRIP "${name}" name)
    list(APPEND actual ${name})
  endforeach()
  # Imported DLLs.
  string(REGEX MATCHALL "DLL Name: [^\n]+" dlls "${dump}")
  set(imports)
  foreach(d ${dlls})
    string(REGEX REPLACE "^DLL Name: " "" d "${d}")
    string(STRIP "${d}" d)
    string(TOUPPER "${d}" d)
    list(APPEND imports ${d})
  endforeach()
elseif(FORMAT STREQUAL "elf")
  execute_process(COMMAND ${TOOL} -D --defined-only ${LIBRARY}
                  OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "check_exports: ${TOOL} -D --defined-only ${LIBRARY} failed (${rc})")
  endif()
  string(REGEX MATCHALL "[^\n]+" lines "${dump}")
  set(actual)
  foreach(line ${lines})
    # "address type name"; absolute symbols (type A) are version nodes.
    if(line MATCHES "^[0-9a-fA-F]* *([A-Za-z]) ([^ ]+)$" AND NOT CMAKE_MATCH_1 STREQUAL "A")
      string(REGEX REPLACE "@.*$" "" name "${CMAKE_MATCH_2}")
      list(APPEND actual ${name})
    endif()
  endforeach()
else()
  message(FATAL_ERROR "check_exports: FORMAT must be pe or elf")
endif()

# --- compare ---------------------------------------------------------------
set(tnx_pattern "^_Z(T[VIS])?NK?3TNX")
set(missing)
foreach(name ${expected})
  if(NOT name IN_LIST actual)
    list(APPEND missing ${name})
  endif()
endforeach()
set(extra)
set(n_tnx 0)
foreach(name ${actual})
  if(name IN_LIST expected)
    continue()
  elseif(name MATCHES "${tnx_pattern}")
    math(EXPR n_tnx "${n_tnx} + 1")
  else()
    list(APPEND extra ${name})
  endif()
endforeach()

set(failed FALSE)
if(missing)
  list(JOIN missing " " s)
  message(SEND_ERROR "declared in the header but not exported: ${s}")
  set(failed TRUE)
endif()
if(extra)
  list(JOIN extra " " s)
  message(SEND_ERROR "exported but not declared in the header: ${s}")
  set(failed TRUE)
endif()
if(FORMAT STREQUAL "pe")
  set(allowed KERNEL32.DLL MSVCRT.DLL USER32.DLL OLEAUT32.DLL)
  set(bad)
  foreach(d ${imports})
    if(NOT d IN_LIST allowed)
      list(APPEND bad ${d})
    endif()
  endforeach()
  if(bad)
    list(JOIN bad " " s)
    message(SEND_ERROR "imports DLLs other than KERNEL32, msvcrt, USER32, OLEAUT32: ${s}")
    set(failed TRUE)
  endif()
  list(JOIN imports " " s)
  message(STATUS "imports: ${s}")
endif()
if(failed)
  message(FATAL_ERROR "check_exports: ${LIBRARY} does not match ${HEADER}")
endif()
message(STATUS "${LIBRARY}: exactly the ${n_expected} exports of the header (+ ${n_tnx} TNX members)")
