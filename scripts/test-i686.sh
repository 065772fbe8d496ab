#!/usr/bin/env bash
# Builds the plug-in and the unit tests listed in cmake/i686-tests.txt for
# 32-bit Linux and runs them under qemu-i386, so the 32-bit code runs on a
# kernel without 32-bit support.
# Usage: scripts/test-i686.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-i686}
jobs=${QUORLE_JOBS:-$(nproc)}
start=$SECONDS

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/i686-linux.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
  -DQUORLE_TESTS=ON -DQUORLE_BENCH=OFF -DQUORLE_HOST=OFF >/dev/null
# Every program the listed directories define, and the plug-in they load.
targets=(quorle)
for dir in $(grep -E "^[a-z_0-9]+$" cmake/i686-tests.txt); do
  for t in $(sed -n 's/^ *quorle_test(\([a-z_0-9]*\).*/\1/p' "tests/$dir/CMakeLists.txt"); do
    targets+=("test_$t")
  done
done
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
readelf -h "$build/lib/libquorle.so" | grep -q "Class: *ELF32" || { echo "libquorle.so is not 32-bit"; exit 1; }
echo "i686: built in $((SECONDS - start)) s"

ctest --test-dir "$build" -j "$jobs" --output-on-failure --timeout 900
echo "i686: built and ran in $((SECONDS - start)) s"
