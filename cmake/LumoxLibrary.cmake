# lumox_library(NAME [EXCLUDE file...] DEPS lib...)
# Builds one static library from every .cc file of the calling folder and, when
# the folder has a tests/ subfolder, one GoogleTest executable from its files.
function(lumox_library name)
  cmake_parse_arguments(L "" "" "EXCLUDE;DEPS;TEST_DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cc ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  foreach(x ${L_EXCLUDE})
    list(REMOVE_ITEM srcs ${CMAKE_CURRENT_SOURCE_DIR}/${x})
  endforeach()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_DEPS})
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests)
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
