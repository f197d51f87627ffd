# x86_64 Windows, run under wine64 for tests.
set(TAVIK_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
