# Unit tests of the MinGW cross builds: only the suites named in
# cmake/windows-tests.txt, built against GoogleTest compiled from Debian's
# sources, each program run whole under the cross-compiling emulator (wine64).

set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
target_compile_options(gtest PRIVATE -Wno-error)
target_compile_options(gtest_main PRIVATE -Wno-error)

# Same interface as tests/CMakeLists.txt's quorle_test.
function(quorle_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    file(GLOB T_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_executable(test_${name} ${T_SOURCES} ${QUORLE_RESOURCE_SCRIPT})
  set_source_files_properties(${QUORLE_RESOURCE_SCRIPT} PROPERTIES OBJECT_DEPENDS "${QUORLE_STRING_TABLES}")
  target_link_libraries(test_${name} PRIVATE quorle_static)
  target_include_directories(test_${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE gtest gtest_main ${T_LIBS})
  add_test(NAME ${name} COMMAND test_${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT
    "QUORLE_SOURCE_DIR=${CMAKE_SOURCE_DIR}\\;QUORLE_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/windows-tests.txt _windows_suites REGEX "^[a-z_0-9]+$")
set(QUORLE_WINDOWS_SUITES ${_windows_suites} CACHE INTERNAL "test suites built for Windows")
foreach(suite IN LISTS _windows_suites)
  add_subdirectory(${CMAKE_SOURCE_DIR}/tests/${suite} ${CMAKE_BINARY_DIR}/tests/${suite})
endforeach()

# The window view's automation test: built here, run under a virtual display
# by scripts/test-windows.sh rather than with the headless suites above.
add_subdirectory(${CMAKE_SOURCE_DIR}/tests/wingui_sheet ${CMAKE_BINARY_DIR}/tests/wingui_sheet)
