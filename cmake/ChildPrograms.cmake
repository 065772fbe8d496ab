# quorle_child_program(<name> <source>...)
# Defines the target <name>, and sets <name>_FILE and <name>_FILE_NAME to the
# program's path and file name.
# A small standalone program that tests start as a child process. The 32-bit
# Linux suites run under qemu-user, which cannot start another 32-bit program
# unless the kernel has a binfmt_misc entry for it; so there the child is built
# for the build machine itself, where it starts on any kernel. The code under
# test is the parent's; the child only prints, sleeps and exits as told.
function(quorle_child_program name)
  if(CMAKE_CROSSCOMPILING AND NOT WIN32)
    find_program(QUORLE_BUILD_CXX NAMES g++ c++ REQUIRED)
    set(_sources)
    foreach(source IN LISTS ARGN)
      list(APPEND _sources ${CMAKE_CURRENT_SOURCE_DIR}/${source})
    endforeach()
    set(_output ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}) # beside the test programs
    add_custom_command(OUTPUT ${_output}
      COMMAND ${QUORLE_BUILD_CXX} -std=c++20 -O1 -Wall -Werror -o ${_output} ${_sources}
      DEPENDS ${_sources}
      COMMENT "Building ${name} for the build machine")
    add_custom_target(${name} DEPENDS ${_output})
    set(${name}_FILE ${_output} PARENT_SCOPE)
    set(${name}_FILE_NAME ${name} PARENT_SCOPE)
  else()
    add_executable(${name} ${ARGN})
    set(${name}_FILE "$<TARGET_FILE:${name}>" PARENT_SCOPE)
    set(${name}_FILE_NAME "$<TARGET_FILE_NAME:${name}>" PARENT_SCOPE)
  endif()
endfunction()
