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

set(QUARROW_FUZZ_SECONDS 30 CACHE STRING "How long each fuzzer runs as a test")

# quarrow_add_fuzzer(name source...): builds a libFuzzer target and registers a
# bounded run of it as a test, seeded from fuzz_seeds/ beside the caller. New
# inputs go to a scratch corpus in the build folder, never into the seeds.
function(quarrow_add_fuzzer name)
  if(NOT QUARROW_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE quarrow_core)
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
  set(seeds "")
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_seeds)
    set(seeds ${CMAKE_CURRENT_SOURCE_DIR}/fuzz_seeds)
  endif()
  add_test(NAME fuzz.${name}
           COMMAND sh -c "mkdir -p '${corpus}' && exec \"$0\" \"$@\""
                   $<TARGET_FILE:${name}> -max_total_time=${QUARROW_FUZZ_SECONDS} -rss_limit_mb=1024
                   -timeout=10 -print_final_stats=1 ${corpus} ${seeds})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
endfunction()
