#!/usr/bin/env bash
# Every test: the normal build, then the same suite under ASan + UBSan.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs=$(nproc)

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"

# The exported symbols are exactly the 27 entry points.
count=$(nm -D --defined-only build/lib/libquorle.so | awk '$2 ~ /^[TW]$/ {print $3}' | sort -u | wc -l)
if [ "$count" -ne 27 ]; then
  echo "libquorle.so exports $count symbols, expected 27"; nm -D --defined-only build/lib/libquorle.so
  exit 1
fi
echo "export table: 27 entry points"
