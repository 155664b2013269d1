# lumox_tool(NAME [PROGRAM name] [SOURCES file...] DEPS lib...
#            [TEST_DEPS lib...] [TEST_DEFINITIONS def...] [TEST_NEEDS target...])
# Builds one tool of tools/: the program PROGRAM into <build>/bin from SOURCES
# (when a PROGRAM is named) linked with DEPS, and, when LUMOX_TESTS is on and
# the folder has tests/, one GoogleTest program NAME_tests from tests/*.cc,
# linked with DEPS, TEST_DEPS and the test helpers, built after the program
# and the TEST_NEEDS targets it runs, and told LUMOX_SOURCE_DIR and the
# TEST_DEFINITIONS. The tool's own libraries are made by the caller first.
function(lumox_tool name)
  cmake_parse_arguments(T "" "PROGRAM" "SOURCES;DEPS;TEST_DEPS;TEST_DEFINITIONS;TEST_NEEDS" ${ARGN})
  if(T_PROGRAM)
    add_executable(${T_PROGRAM} ${T_SOURCES})
    target_include_directories(${T_PROGRAM} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${T_PROGRAM} PRIVATE ${T_DEPS})
    set_target_properties(${T_PROGRAM} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
  endif()
  if(NOT LUMOX_TESTS)
    return()
  endif()
  file(GLOB tsrcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cc)
  if(NOT tsrcs)
    return()
  endif()
  add_executable(${name}_tests ${tsrcs})
  target_link_libraries(${name}_tests PRIVATE ${T_DEPS} ${T_TEST_DEPS} lumox_testsupport GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name}_tests PRIVATE LUMOX_SOURCE_DIR="${PROJECT_SOURCE_DIR}" ${T_TEST_DEFINITIONS})
  if(T_PROGRAM OR T_TEST_NEEDS)
    add_dependencies(${name}_tests ${T_PROGRAM} ${T_TEST_NEEDS})
  endif()
  gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
