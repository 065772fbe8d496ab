# Unit tests of the 32-bit Linux cross build: the suites named in
# cmake/i686-tests.txt, built against GoogleTest compiled from Debian's
# sources, each program run whole under the cross-compiling emulator.

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -Wno-error -O1)
target_compile_options(gtest_main PRIVATE -Wno-error)

# Tests that qemu-user cannot run as a kernel would, left out here only; the
# native build runs them.
# - glibc's posix_spawn learns of a failed exec or chdir through memory it
#   shares with the child (clone with CLONE_VM); qemu-user makes that clone a
#   fork, so a program that cannot start looks started and exits with 127.
set(QUORLE_CROSS_EXCLUDE_platform Process.ExitCodesAndFailuresToStart
    Process.WorkingDirectoryOption)
set(QUORLE_CROSS_EXCLUDE_phases RunTool.ExitCodeAndTimeOutAreFailuresWithTheirMessages)

# The test sources unoptimised: most of their compile time goes to GoogleTest's
# macros, and their own run time is small beside the plug-in code they call.
set(QUORLE_CROSS_TEST_FLAGS -O0)

# Same interface as tests/CMakeLists.txt's quorle_test.
function(quorle_test name)
  cmake_parse_arguments(T "HOST" "" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    file(GLOB T_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(test_${name} ${T_SOURCES})
  if(T_HOST)
    target_link_libraries(test_${name} PRIVATE quorle_host_core)
  else()
    target_link_libraries(test_${name} PRIVATE quorle_static)
  endif()
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE gtest gtest_main ${T_LIBS})
  target_compile_options(test_${name} PRIVATE ${QUORLE_CROSS_TEST_FLAGS})
  set(_filter "")
  if(DEFINED QUORLE_CROSS_EXCLUDE_${name})
    list(JOIN QUORLE_CROSS_EXCLUDE_${name} ":" _excluded)
    set(_filter --gtest_filter=-${_excluded})
  endif()
  add_test(NAME ${name} COMMAND test_${name} --gtest_brief=1 ${_filter}
           WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "QUORLE_SOURCE_DIR=${CMAKE_SOURCE_DIR}\\;QUORLE_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/i686-tests.txt _cross_suites REGEX "^[a-z_0-9]+$")
set(QUORLE_CROSS_SUITES ${_cross_suites} CACHE INTERNAL "test suites built for the cross target")
foreach(suite IN LISTS _cross_suites)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/${suite} ${CMAKE_BINARY_DIR}/tests/${suite})
endforeach()
