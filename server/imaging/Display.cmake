# Palettes, inverse colour maps, display copies, dithering, scaling and reorientation: portable.
# The fixed palettes and the 32 KB maps are generated at build time; a native generator could
# not run inside the cross trees, so it is a Python script.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(TAVIK_PALETTE_TABLES ${CMAKE_CURRENT_BINARY_DIR}/PaletteTables.cpp)
add_custom_command(
  OUTPUT ${TAVIK_PALETTE_TABLES}
  COMMAND Python3::Interpreter ${CMAKE_CURRENT_SOURCE_DIR}/gen/MakePaletteTables.py ${TAVIK_PALETTE_TABLES}
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/gen/MakePaletteTables.py
  COMMENT "Generating the fixed palettes and inverse colour maps"
  VERBATIM)

add_library(tavik_display STATIC
  Dither.cpp
  Orientation.cpp
  Palettes.cpp
  Scale.cpp
  ${TAVIK_PALETTE_TABLES})
target_include_directories(tavik_display PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(tavik_display PUBLIC tavik_imaging tavik_report)
