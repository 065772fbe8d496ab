#!/usr/bin/env bash
# Every test: the normal build, then the same suite under ASan + UBSan, the
# plug-in's suites built for 32-bit Linux and run under qemu-i386, then the
# Windows builds (the 32-bit plug-in, and the 64-bit unit tests under wine64).
# QUORLE_SKIP_I686=1 leaves the 32-bit Linux part out, QUORLE_SKIP_WINDOWS=1
# the Windows part.
set -euo pipefail
cd "$(dirname "$0")/.."
windows=${QUORLE_SKIP_WINDOWS:-0}
if [ "$windows" = 1 ]; then bash scripts/install-deps.sh; else bash scripts/install-deps.sh --windows; fi
jobs=$(nproc)
# Each stage's time, printed when it ends and in a summary at the end.
started=$SECONDS; last=$SECONDS; times=()
stage() { times+=("$1: $((SECONDS - last)) s"); echo "== stage $1 took $((SECONDS - last)) s"; last=$SECONDS; }
stage install
bash scripts/check-os-headers.sh
bash scripts/check-layers.sh

cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default -j "$jobs"
stage linux

cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
stage asan

# The exported symbols are exactly the 27 entry points.
count=$(nm -D --defined-only build/lib/libquorle.so | awk '$2 ~ /^[TW]$/ {print $3}' | sort -u | wc -l)
if [ "$count" -ne 27 ]; then
  echo "libquorle.so exports $count symbols, expected 27"; nm -D --defined-only build/lib/libquorle.so
  exit 1
fi
echo "export table: 27 entry points"

# The make-rule parser, the include scanner and the line classifier under
# libFuzzer with ASan + UBSan, for a bounded time each.
bash scripts/fuzz.sh "${QUORLE_FUZZ_SECONDS:-20}"
stage fuzz

if [ "${QUORLE_SKIP_I686:-0}" != 1 ]; then
  bash scripts/test-i686.sh build-i686
  stage i686
fi

if [ "$windows" != 1 ]; then
  bash scripts/build-windows.sh build-win32
  bash scripts/test-windows.sh build-win64
  stage windows
fi
printf '%s\n' "${times[@]}" "all: $((SECONDS - started)) s"
