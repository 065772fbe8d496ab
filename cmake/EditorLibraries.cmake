# The two libraries the options editor loads at run time, beside the plug-in.
#
# Resquorle: the editor's resource library, from the same text tables on both
# platforms. Windows: a resource-only Resquorle.dll beside Quorle.dll (no code,
# no imports). POSIX: lib/Resquorle.so, which exports the string table as one
# data symbol (platform::ResourceStringTable).
if(WIN32)
  add_library(resquorle SHARED ${CMAKE_SOURCE_DIR}/resources/library/resquorle.rc)
  set_target_properties(resquorle PROPERTIES LINKER_LANGUAGE C OUTPUT_NAME Resquorle PREFIX "")
  target_include_directories(resquorle PRIVATE ${CMAKE_SOURCE_DIR})
  # No entry point and no run-time: the DLL is loaded only for its resources.
  target_link_options(resquorle PRIVATE -nostdlib -nostartfiles -Wl,--entry=0 -s)
else()
  add_library(resquorle MODULE ${CMAKE_SOURCE_DIR}/resources/library/resquorle_table.cpp)
  set_target_properties(resquorle PROPERTIES OUTPUT_NAME Resquorle PREFIX "" SUFFIX ".so")
  target_include_directories(resquorle PRIVATE ${CMAKE_SOURCE_DIR})
endif()

# Stand-in for the IDE's sibling project-options library, placed so that
# "..\Sivrel.dll" from the plug-in's directory finds it (build/Sivrel.so next
# to build/lib on POSIX; build/Sivrel.dll next to build/bin on Windows).
# quorle_sivrel(<target> <output dir> [definitions...]) also builds the test
# variants.
function(quorle_sivrel target dir)
  add_library(${target} MODULE ${CMAKE_SOURCE_DIR}/tools/sivrel/sivrel.cpp)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME Sivrel PREFIX ""
    LIBRARY_OUTPUT_DIRECTORY ${dir} RUNTIME_OUTPUT_DIRECTORY ${dir})
  if(NOT WIN32)
    set_target_properties(${target} PROPERTIES SUFFIX ".so")
  endif()
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE ${ARGN})
endfunction()
quorle_sivrel(sivrel ${CMAKE_BINARY_DIR})

add_dependencies(quorle resquorle sivrel)
