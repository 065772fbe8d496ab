#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60]
# A crash leaves its input in build-fuzz/<target>/; add it to the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
out=build-fuzz
mkdir -p "$out"
flags=(-std=c++20 -O1 -g -I. -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -fno-omit-frame-pointer)
platform=(platform/*.cpp platform/posix/*.cpp)

build() {
  local name=$1; shift
  clang++ "${flags[@]}" "fuzz/${name}_fuzz.cpp" "$@" -ldl -o "$out/${name}_fuzz"
}
build make_rule depend/make_rule.cpp
build include_scanner depend/include_scanner.cpp "${platform[@]}"
build line_classifier output/line_*.cpp resources/string_table.cpp

for name in make_rule include_scanner line_classifier; do
  mkdir -p "$out/$name/corpus"
  cp -n fuzz/corpus/"$name"/* "$out/$name/corpus/" 2>/dev/null || true
  echo "fuzzing $name for ${seconds}s"
  (cd "$out/$name" && "../${name}_fuzz" -max_total_time="$seconds" -max_len=65536 \
      -print_final_stats=1 corpus >"fuzz.log" 2>&1) || { tail -40 "$out/$name/fuzz.log"; exit 1; }
  grep -E '^stat::number_of_executed_units' "$out/$name/fuzz.log" || true
done
echo "fuzzing: no crash"
