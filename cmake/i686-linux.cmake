# Cross build for 32-bit x86 Linux with Debian's i686-linux-gnu tools. The
# programs run under qemu-user, which needs no 32-bit support in the kernel.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)

set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# ctest runs each test program through this. The programs load the host's
# 32-bit C and C++ libraries (libc6-i386, lib32stdc++6), as the helper
# programs they start do. Not "-L /usr/i686-linux-gnu": that takes the cross
# package's loader, which still finds the host's libc through ld.so.cache, and
# a loader and libc of two different builds hang in pthread_create.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386)
