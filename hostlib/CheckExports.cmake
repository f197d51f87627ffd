# The host finds the library's entries by their plain names: fail the build when an export is
# missing or carries a decoration (_name@16) instead.
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${BINARY}")
endif()
string(REGEX MATCH "\\[Ordinal/Name Pointer\\] Table.*" table "${dump}")
foreach(name IN LISTS EXPORTS)
  if(NOT table MATCHES "[ \t]${name}[ \t]*\n")
    message(FATAL_ERROR "${BINARY} does not export ${name} under its plain name")
  endif()
endforeach()
