# Linux build: the Windows-free core with its GoogleTest tests (and fuzzers
# when built with clang and QUARROW_FUZZ).
find_package(GTest REQUIRED)
include(GoogleTest)
find_package(ZLIB REQUIRED)
find_package(PkgConfig REQUIRED)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
add_library(minizip_lib INTERFACE)
target_link_libraries(minizip_lib INTERFACE PkgConfig::MINIZIP ZLIB::ZLIB)

set(QUARROW_WARNINGS -Wall -Wextra -Wpedantic)
option(QUARROW_FUZZ "Build libFuzzer targets (clang only)" OFF)

# The fuzz build only runs its fuzzers; the plain and asan builds run the tests.
add_executable(core_tests)
target_link_libraries(core_tests PRIVATE quarrow_core GTest::gtest_main)
set(QUARROW_TEST_PREFIX "" CACHE STRING "Prefix of this build's test names")
if(NOT QUARROW_FUZZ)
  gtest_discover_tests(core_tests DISCOVERY_MODE PRE_TEST TEST_PREFIX "${QUARROW_TEST_PREFIX}")
else()
  set_target_properties(core_tests PROPERTIES EXCLUDE_FROM_ALL ON)
endif()

# quarrow_add_fuzzer(name source...): registers a bounded fuzz run as a test.
function(quarrow_add_fuzzer name)
  if(NOT QUARROW_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE quarrow_core)
endfunction()
