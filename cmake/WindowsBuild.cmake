# mingw build: the launcher executable, and on x86_64 the Windows tests run
# through wine64 (i686 programs cannot run on the test machines).
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                        _WIN32_WINNT=0x0601 WINVER=0x0601 _WIN32_IE=0x0800)
set(QUARROW_WARNINGS -Wall -Wextra)
add_link_options(-static -static-libgcc -static-libstdc++)
# Launcher, tests and fixtures side by side: tests find the exe next to them.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

set(ZLIB_USE_STATIC_LIBS ON)
find_package(ZLIB REQUIRED)

# minizip's reader, compiled from Debian's zlib source fetched by tools/setup.sh.
set(MINIZIP_SRC ${QUARROW_DEPS_DIR}/zlib-src/contrib/minizip)
if(NOT EXISTS ${MINIZIP_SRC}/unzip.c)
  message(FATAL_ERROR "minizip source missing in ${MINIZIP_SRC}: run tools/setup.sh")
endif()
add_library(minizip_lib STATIC ${MINIZIP_SRC}/unzip.c ${MINIZIP_SRC}/ioapi.c)
target_include_directories(minizip_lib SYSTEM PUBLIC ${QUARROW_DEPS_DIR}/zlib-src/contrib)
target_link_libraries(minizip_lib PUBLIC ZLIB::ZLIB)

set(QUARROW_SYSTEM_LIBS
    gdiplus comctl32 ole32 oleaut32 uuid shell32 shlwapi advapi32 wininet
    crypt32 version netapi32 user32 gdi32 msimg32 comdlg32)

# Everything of the launcher except its entry point, shared with the tests.
add_library(launcher_lib STATIC)
target_include_directories(launcher_lib PUBLIC ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
target_compile_options(launcher_lib PRIVATE ${QUARROW_WARNINGS})
target_link_libraries(launcher_lib PUBLIC quarrow_core minizip_lib ${QUARROW_SYSTEM_LIBS})

if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND BUILD_TESTING)
  set(QUARROW_WIN_TESTS ON)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  include(GoogleTest)
  add_executable(win_tests ${CMAKE_SOURCE_DIR}/tests/win_test_main.cpp
                           ${CMAKE_SOURCE_DIR}/tests/WinTestSupport.cpp)
  target_link_libraries(win_tests PRIVATE launcher_lib gtest)
  target_link_options(win_tests PRIVATE -municode)
  # Tests share one Wine prefix and display: one at a time among themselves.
  gtest_discover_tests(win_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       TEST_PREFIX "win."
                       PROPERTIES TIMEOUT 180 RESOURCE_LOCK wine)
endif()
