include(GoogleTest)

# A GoogleTest program. On the trees that can run here its cases are registered with CTest at
# test time (PRE_TEST), so building never needs Wine; the i686 tree, which cannot run them,
# leaves them out of its default build.
function(tavik_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  if(WIN32)
    tavik_check_imports(${name})
  endif()
  if(TAVIK_RUNS_TESTS)
    # NO_PRETTY_VALUES: table rows are named by their index; some rows are whole command texts.
    gtest_discover_tests(${name}
      NO_PRETTY_VALUES
      DISCOVERY_MODE PRE_TEST
      DISCOVERY_TIMEOUT 120
      PROPERTIES ${T_PROPERTIES})
  else()
    # Nothing runs them here: the target stays for whoever builds it by name.
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL TRUE)
  endif()
endfunction()

# Our Windows binaries may import system DLLs only: a mingw runtime DLL would be missing on
# the user's machine (and under Wine an exe then exits with code 53 and no message).
function(tavik_check_imports target)
  if(NOT WIN32)
    return()
  endif()
  set(objdump ${TAVIK_MINGW_TRIPLE}-objdump)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${objdump} -DBINARY=$<TARGET_FILE:${target}>
            -P ${PROJECT_SOURCE_DIR}/cmake/CheckImports.cmake
    VERBATIM)
endfunction()

# A DLL whose callers look its routines up by name must export each of NAMES exactly as spelled
# (decorated standard-call names such as _LoadStrings@16 included); a missing one fails the build.
#   tavik_check_exports(UlvaneSpell NAMES LoadStrings _LoadStrings@16 ...)
function(tavik_check_exports target)
  cmake_parse_arguments(E "" "" "NAMES" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  if(NOT E_NAMES)
    message(FATAL_ERROR "tavik_check_exports(${target}) needs NAMES")
  endif()
  string(REPLACE ";" "$<SEMICOLON>" _names "${E_NAMES}")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${TAVIK_MINGW_TRIPLE}-objdump -DBINARY=$<TARGET_FILE:${target}>
            -DNAMES=${_names} -P ${PROJECT_SOURCE_DIR}/cmake/CheckExports.cmake
    VERBATIM)
endfunction()
