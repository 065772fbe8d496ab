#!/usr/bin/env bash
# Only platform/ may talk to the operating system: no other source of the
# plug-in, the stand-in host, the tests, benchmarks or fuzz targets includes
# <windows.h> or a POSIX header, so they build unchanged for Windows. (The
# stand-in toolchain in tools/ runs the machine's own GNU tools and is
# Linux-only by nature; the terminal view in tui/ is a Linux library of its
# own and the one place for curses and signal handling; the window view in
# wingui/ is its Windows counterpart, a DLL of its own made of windows, so it
# talks to Win32 directly, as does its test driver (tests/wingui_sheet/driver/,
# whose header declares no Windows type). Only its page layout is plain C++,
# and it is checked like the plug-in.)
set -euo pipefail
cd "$(dirname "$0")/.."
headers='windows\.h|commctrl\.h|uxtheme\.h|winbase\.h|shellapi\.h|unistd\.h|dlfcn\.h|fcntl\.h|dirent\.h|spawn\.h|poll\.h|pthread\.h|signal\.h|n?curses\.h|term\.h|sys/[a-z_/]+\.h'
dirs=(core options toolchain models cmdline sections phases depend output makefile sheet resources
      interface host tests bench fuzz wingui/page_layout.h wingui/page_layout.cpp
      wingui/ids.h)
existing=()
for d in "${dirs[@]}"; do [ -d "$d" ] && existing+=("$d"); done
found=$(grep -rEn --include='*.cpp' --include='*.h' --include='*.c' --include='*.inc' \
  "^\s*#\s*include\s*[<\"]($headers)[>\"]" "${existing[@]}" |
  grep -v '^tests/wingui_sheet/driver/driver\.cpp:' || true)
if [ -n "$found" ]; then
  echo "OS headers outside platform/ in the plug-in's sources:"; echo "$found"; exit 1
fi
echo "OS headers: only in platform/"
