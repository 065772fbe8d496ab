# Cross build for 64-bit Windows: the unit tests and the ABI test host, which
# run under wine64.
set(QUORLE_MINGW_TRIPLE x86_64-w64-mingw32)
set(QUORLE_MINGW_ARCH AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
find_program(QUORLE_WINE64 NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(QUORLE_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUORLE_WINE64})
endif()
