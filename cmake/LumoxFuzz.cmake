# The libFuzzer targets of fuzz/ (fuzz/README.md). They need clang++. With
# clang as this build's compiler fuzz/ is a subdirectory; otherwise, when
# LUMOX_FUZZ is on (by default when a clang++ that links libFuzzer is
# found), fuzz/ is configured with that clang++ as a project of its own in
# <build>/fuzz and built with everything else, so the main build keeps its
# compiler. Each target becomes a test that runs it briefly over its seed
# corpus.

set(LUMOX_FUZZ_CHECK_RUNS 5000 CACHE STRING "Executions of each fuzz target in its test")

# Whether `compiler` links a libFuzzer target with the sanitizers.
function(lumox_links_libfuzzer compiler result)
  set(probe ${PROJECT_BINARY_DIR}/fuzz-probe)
  file(WRITE ${probe}/probe.cc
    "extern \"C\" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n")
  execute_process(COMMAND ${compiler} -fsanitize=fuzzer,address,undefined probe.cc -o probe
    WORKING_DIRECTORY ${probe} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
  file(REMOVE_RECURSE ${probe})
  if(rc EQUAL 0)
    set(${result} ON PARENT_SCOPE)
  else()
    set(${result} OFF PARENT_SCOPE)
  endif()
endfunction()

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(LUMOX_FUZZ_CXX ${CMAKE_CXX_COMPILER})
else()
  find_program(LUMOX_FUZZ_CXX NAMES clang++)
endif()
if(NOT DEFINED LUMOX_FUZZ)
  set(found OFF)
  if(LUMOX_FUZZ_CXX)
    lumox_links_libfuzzer(${LUMOX_FUZZ_CXX} found)
  endif()
  if(NOT found)
    message(STATUS "No clang++ that links libFuzzer: the fuzz targets are not built")
  endif()
endif()
option(LUMOX_FUZZ "Build the libFuzzer targets of fuzz/ with clang++" ${found})

if(NOT LUMOX_FUZZ)
  return()
endif()
if(NOT LUMOX_FUZZ_CXX)
  message(FATAL_ERROR "LUMOX_FUZZ needs clang++ (scripts/install-deps.sh installs it)")
endif()

set(LUMOX_FUZZ_DIR ${PROJECT_BINARY_DIR}/fuzz)
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  add_subdirectory(fuzz)
else()
  include(ExternalProject)
  # Built at every build: the sources it compiles are this tree's, which
  # the outer build does not watch for it.
  ExternalProject_Add(lumox_fuzz
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/fuzz
    BINARY_DIR ${LUMOX_FUZZ_DIR}
    CMAKE_ARGS -DCMAKE_CXX_COMPILER=${LUMOX_FUZZ_CXX}
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON)
endif()

if(LUMOX_TESTS)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*Fuzzer.cc)
  foreach(source ${sources})
    get_filename_component(t ${source} NAME_WE)
    add_test(NAME Fuzz.${t}
      COMMAND ${PROJECT_SOURCE_DIR}/scripts/fuzz.sh check ${LUMOX_FUZZ_DIR}/${t} ${LUMOX_FUZZ_CHECK_RUNS}
              ${LUMOX_FUZZ_DIR}/check)
    set_tests_properties(Fuzz.${t} PROPERTIES TIMEOUT 120)
  endforeach()
endif()
