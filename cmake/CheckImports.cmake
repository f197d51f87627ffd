# Script mode: fail when BINARY imports a DLL that is not part of Windows itself.
execute_process(COMMAND ${OBJDUMP} -p ${BINARY} OUTPUT_VARIABLE _dump RESULT_VARIABLE _rc)
if(NOT _rc EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${BINARY} failed")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" _lines "${_dump}")
set(_system
  advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll
  shell32.dll user32.dll winspool.drv shlwapi.dll uuid.dll version.dll winmm.dll ws2_32.dll
  oledlg.dll olepro32.dll riched20.dll imm32.dll uxtheme.dll)
foreach(_line IN LISTS _lines)
  string(REPLACE "DLL Name: " "" _dll "${_line}")
  string(STRIP "${_dll}" _dll)
  string(TOLOWER "${_dll}" _dll)
  if(_dll MATCHES "^api-ms-win-")
    continue()
  endif()
  list(FIND _system "${_dll}" _at)
  if(_at EQUAL -1)
    message(FATAL_ERROR "${BINARY} imports ${_dll}, which is not a system DLL")
  endif()
endforeach()
