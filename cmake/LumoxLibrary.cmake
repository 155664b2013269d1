# lumox_library(NAME [NEUTRAL] [NO_TESTS] [SOURCES file...] [EXCLUDE file...]
#               DEPS lib... [TEST_DEPS lib...])
# Builds one static library of the calling folder: the listed SOURCES, or
# else every .cc and .c file of the folder but the EXCLUDEd ones. When the
# folder has a tests/ subfolder (and not NO_TESTS), one GoogleTest program
# is built from its files, linked with the library and TEST_DEPS.
# A NEUTRAL library is toolkit-neutral: its sources are compiled with every
# X and Motif header replaced by one that stops the build, so that including
# one, even through another header, is a build error.
function(lumox_library name)
  cmake_parse_arguments(L "NEUTRAL;NO_TESTS" "" "SOURCES;EXCLUDE;DEPS;TEST_DEPS" ${ARGN})
  if(L_SOURCES)
    set(srcs)
    foreach(s ${L_SOURCES})
      list(APPEND srcs ${CMAKE_CURRENT_SOURCE_DIR}/${s})
    endforeach()
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
    foreach(x ${L_EXCLUDE})
      list(REMOVE_ITEM srcs ${CMAKE_CURRENT_SOURCE_DIR}/${x})
    endforeach()
  endif()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
  if(L_NEUTRAL)
    target_include_directories(${name} BEFORE PRIVATE ${LUMOX_NO_X_DIR})
  endif()
  if(NOT L_NO_TESTS AND LUMOX_TESTS AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests)
    file(GLOB tsrcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/*.cc)
    if(tsrcs)
      add_executable(${name}_tests ${tsrcs})
      target_link_libraries(${name}_tests PRIVATE ${name} ${L_TEST_DEPS} lumox_testsupport GTest::gtest GTest::gtest_main)
      target_compile_definitions(${name}_tests PRIVATE
        LUMOX_SOURCE_DIR="${PROJECT_SOURCE_DIR}" LUMOX_BINARY_DIR="${PROJECT_BINARY_DIR}")
      gtest_discover_tests(${name}_tests DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 300 ENVIRONMENT "LUMOX_BINARY_DIR=${PROJECT_BINARY_DIR}")
    endif()
  endif()
endfunction()

# Every X and Motif header as one that stops the build, for NEUTRAL
# libraries. The real headers live in the system's include directory, which
# the compiler searches anyway, so leaving their directory out proves nothing.
function(lumox_poison_x_headers dir)
  file(GLOB_RECURSE headers RELATIVE ${X11_INCLUDE_DIR}
    ${X11_INCLUDE_DIR}/X11/*.h ${MOTIF_INCLUDE_DIR}/Xm/*.h ${X11_INCLUDE_DIR}/X11/*/*.h)
  foreach(h ${headers})
    if(NOT EXISTS ${dir}/${h})
      file(WRITE ${dir}/${h} "#error \"a toolkit-neutral source includes an X or Motif header\"\n")
    endif()
  endforeach()
endfunction()
