# Cross build for 32-bit Windows: the plug-in the IDE loads.
set(QUORLE_MINGW_TRIPLE i686-w64-mingw32)
set(QUORLE_MINGW_ARCH x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
