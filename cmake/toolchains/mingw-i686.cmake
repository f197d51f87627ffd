# i686 Windows, the true 32-bit target: compiled and link-checked, never run here.
set(TAVIK_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
