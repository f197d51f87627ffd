# Runs cmake/CheckExports.cmake on stored objdump listings through a stand-in objdump.
#   cmake -DSOURCE_DIR=<project> -DWORK_DIR=<scratch folder> -P CheckExportsTest.cmake
cmake_minimum_required(VERSION 3.25)
set(_fixtures ${CMAKE_CURRENT_LIST_DIR}/exports)
set(_all BFindWord DrawSquiggles FindWordInString GetNextWordC LoadStrings
         _BFindWord@16 _DrawSquiggles@44 _FindWordInString@12 _GetNextWordC@12 _LoadStrings@16)
list(JOIN _all "|" _all)
# What the case shows | listing | "pass" or the names reported missing | names asked for...
set(_cases
  "every name of the old listing|old-binutils|pass|${_all}"
  "a decorated name missing|old-binutils|_LoadStrings@12, _X@4|LoadStrings|_LoadStrings@12|_BFindWord@16|_X@4"
  "names compare with their case|old-binutils|loadstrings|loadstrings"
  "a prefix of an exported name is not exported|old-binutils|LoadString|LoadString"
  "the DLL's own name is no export|old-binutils|UlvaneSpell.dll|UlvaneSpell.dll"
  "words outside the name table are no exports|old-binutils|HIGHLOW|HIGHLOW"
  "the later listing's layout|new-binutils|pass|BFindWord|LoadStrings|_BFindWord@16|_LoadStrings@16"
  "a name of the later listing missing|new-binutils|GetNextWordC|GetNextWordC|LoadStrings"
  "no export table at all|no-exports|LoadStringsW|LoadStringsW")
file(MAKE_DIRECTORY ${WORK_DIR})
set(_failures 0)
foreach(_case IN LISTS _cases)
  string(REPLACE "|" ";" _fields "${_case}")
  list(POP_FRONT _fields _what _dump _missing)
  set(_expected fail)
  if(_missing STREQUAL "pass")
    set(_expected pass)
  endif()
  set(_binary ${WORK_DIR}/${_dump}.dll)
  file(WRITE ${_binary} "stand-in")
  configure_file(${_fixtures}/${_dump}.dump ${_binary}.dump COPYONLY)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${_fixtures}/fake-objdump.sh -DBINARY=${_binary} "-DNAMES=${_fields}"
            -P ${SOURCE_DIR}/cmake/CheckExports.cmake
    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _err)
  # CMake wraps long messages.
  string(REGEX REPLACE "[ \n]+" " " _err "${_err}")
  if(_rc EQUAL 0)
    set(_got pass)
  else()
    set(_got fail)
  endif()
  if(EXISTS ${_binary})
    set(_kept TRUE)
  else()
    set(_kept FALSE)
  endif()
  if(NOT _got STREQUAL _expected)
    message(SEND_ERROR "${_what}: expected ${_expected}, got ${_got}\n${_err}")
    math(EXPR _failures "${_failures} + 1")
  elseif(_expected STREQUAL "fail" AND _kept)
    message(SEND_ERROR "${_what}: the failing binary was kept, so the next build would pass over it")
    math(EXPR _failures "${_failures} + 1")
  elseif(_expected STREQUAL "pass" AND NOT _kept)
    message(SEND_ERROR "${_what}: a passing binary was deleted")
    math(EXPR _failures "${_failures} + 1")
  elseif(_expected STREQUAL "fail" AND NOT _err MATCHES "does not export ${_missing} \\(")
    message(SEND_ERROR "${_what}: the message does not name what is missing:\n${_err}")
    math(EXPR _failures "${_failures} + 1")
  endif()
endforeach()
list(LENGTH _cases _count)
math(EXPR _passed "${_count} - ${_failures}")
message(STATUS "${_passed} passed, ${_failures} failed")
