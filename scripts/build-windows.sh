#!/usr/bin/env bash
# Builds the 32-bit plug-in Quorle.dll (and its resource library Resquorle.dll)
# with MinGW-w64 and checks their export and import tables.
# Usage: scripts/build-windows.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win32}
jobs=${QUORLE_JOBS:-$(nproc)}

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_SHARED_LINKER_FLAGS_RELEASE=-s \
  -DQUORLE_TESTS=OFF -DQUORLE_BENCH=OFF -DQUORLE_HOST=OFF >/dev/null
# The plug-in target brings the resource library and the sibling stand-in.
cmake --build "$build" --target quorle -j "$jobs"

dll="$build/bin/Quorle.dll"
bash scripts/check-dll.sh "$dll" i686-w64-mingw32 pei-i386
bash scripts/check-resource-dll.sh "$build/bin/Resquorle.dll" i686-w64-mingw32 pei-i386
echo "Quorle.dll (32-bit) is at $(pwd)/$dll, Resquorle.dll beside it"
