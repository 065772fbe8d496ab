# Each subsystem folder is an OBJECT library of its own; the plug-in and the
# static archive that tests link are made of all of them. The folders are
# listed bottom-up; scripts/check-layers.sh holds the include order.
file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/layers.txt QUORLE_SUBSYSTEMS REGEX "^[a-z_0-9]+$")
list(REMOVE_ITEM QUORLE_SUBSYSTEMS platform) # built apart: one implementation per OS

if(WIN32)
  set(QUORLE_PLATFORM_DIR win32)
else()
  set(QUORLE_PLATFORM_DIR posix)
endif()

function(quorle_object_library name)
  file(GLOB _srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${name}/*.cpp ${ARGN})
  if(NOT _srcs)
    set(_srcs ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  endif()
  add_library(quorle_${name} OBJECT ${_srcs})
  target_include_directories(quorle_${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_compile_definitions(quorle_${name} PRIVATE QUORLE_BUILDING_DLL)
endfunction()

quorle_object_library(platform
  ${CMAKE_SOURCE_DIR}/platform/${QUORLE_PLATFORM_DIR}/*.cpp)
foreach(sub IN LISTS QUORLE_SUBSYSTEMS)
  if(sub STREQUAL sheet)
    # The sheet's page data sits in a folder of its own below the sheet.
    quorle_object_library(sheet ${CMAKE_SOURCE_DIR}/sheet/pages/*.cpp)
  else()
    quorle_object_library(${sub})
  endif()
endforeach()
# Windows reads the numbered strings from the module's own resources, compiled
# from the same string_table.inc. A linker never pulls a resource object out of
# an archive, so each Windows module that reads them compiles the script itself.
set(QUORLE_RESOURCE_SCRIPT ${CMAKE_SOURCE_DIR}/resources/quorle.rc)
# windres reports no include dependencies, so name the tables here.
set(QUORLE_STRING_TABLES ${CMAKE_SOURCE_DIR}/resources/string_table.inc
    ${CMAKE_SOURCE_DIR}/resources/sheet_strings.inc)
set_source_files_properties(${QUORLE_RESOURCE_SCRIPT}
  ${CMAKE_SOURCE_DIR}/resources/library/resquorle.rc
  PROPERTIES OBJECT_DEPENDS "${QUORLE_STRING_TABLES}")

# Objects of all subsystems, for the plug-in and for tests that need everything.
set(QUORLE_ALL_OBJECTS $<TARGET_OBJECTS:quorle_platform>)
foreach(sub IN LISTS QUORLE_SUBSYSTEMS)
  list(APPEND QUORLE_ALL_OBJECTS $<TARGET_OBJECTS:quorle_${sub}>)
endforeach()

if(WIN32)
  set(QUORLE_PLATFORM_LIBS shlwapi advapi32 shell32 user32 comctl32)
else()
  set(QUORLE_PLATFORM_LIBS ${CMAKE_DL_LIBS})
endif()

# The plug-in: only the 27 entry points are visible.
add_library(quorle SHARED ${QUORLE_ALL_OBJECTS})
target_link_libraries(quorle PRIVATE ${QUORLE_PLATFORM_LIBS})
if(WIN32)
  set_target_properties(quorle PROPERTIES OUTPUT_NAME Quorle PREFIX "")
  target_sources(quorle PRIVATE ${QUORLE_RESOURCE_SCRIPT})
  target_include_directories(quorle PRIVATE ${CMAKE_SOURCE_DIR})
  if(EXISTS ${CMAKE_SOURCE_DIR}/interface/quorle.def)
    target_sources(quorle PRIVATE ${CMAKE_SOURCE_DIR}/interface/quorle.def)
  endif()
else()
  target_link_options(quorle PRIVATE
    -Wl,--version-script=${CMAKE_SOURCE_DIR}/interface/exports.map -Wl,--no-undefined)
  set_target_properties(quorle PROPERTIES LINK_DEPENDS ${CMAKE_SOURCE_DIR}/interface/exports.map)
endif()

include(${CMAKE_SOURCE_DIR}/cmake/EditorLibraries.cmake)

# A static archive of the same objects: every test and benchmark links it and
# calls internals directly.
add_library(quorle_static STATIC ${QUORLE_ALL_OBJECTS})
target_include_directories(quorle_static PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(quorle_static PUBLIC ${QUORLE_PLATFORM_LIBS})

# quorle_link_subsystems(<target> <subsystem>...): for the stand-in host and
# toolchain, which are not the plug-in and take only a few of its helpers
# (platform and core are always included).
function(quorle_link_subsystems target)
  set(_objs $<TARGET_OBJECTS:quorle_platform> $<TARGET_OBJECTS:quorle_core>)
  foreach(sub IN LISTS ARGN)
    list(APPEND _objs $<TARGET_OBJECTS:quorle_${sub}>)
  endforeach()
  target_sources(${target} PRIVATE ${_objs})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${QUORLE_PLATFORM_LIBS})
endfunction()

if(NOT WIN32)
  add_subdirectory(tui)
endif()
add_subdirectory(wingui)
if(QUORLE_HOST AND EXISTS ${CMAKE_SOURCE_DIR}/host/CMakeLists.txt)
  add_subdirectory(host)
endif()
if(QUORLE_TESTS)
  enable_testing()
  include(cmake/ChildPrograms.cmake)
  if(WIN32 AND CMAKE_CROSSCOMPILING)
    include(cmake/WindowsTests.cmake) # the suites that run under Wine
  elseif(CMAKE_CROSSCOMPILING)
    include(cmake/LinuxCrossTests.cmake) # the 32-bit suites under qemu-user
  else()
    add_subdirectory(tests)
  endif()
endif()
if(QUORLE_BENCH AND EXISTS ${CMAKE_SOURCE_DIR}/bench/CMakeLists.txt)
  add_subdirectory(bench)
endif()
