#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (the "fuzz" CMake preset: clang, ASan
# and UBSan) and runs each for a bounded time.
#   scripts/fuzz.sh [seconds per target, default 60]
# A crash leaves its input in build-fuzz/run/<target>/; add it to the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
cmake --preset fuzz >/dev/null
targets=()
for src in fuzz/*_fuzz.cpp; do targets+=("$(basename "$src" .cpp)"); done
# Only the targets: the shared plug-in is not built with the fuzzer's flags.
cmake --build --preset fuzz -j "$(nproc)" --target "${targets[@]}"
out=build-fuzz/run
for src in fuzz/*_fuzz.cpp; do
  target=$(basename "$src" .cpp)
  name=${target%_fuzz}
  mkdir -p "$out/$name/corpus"
  [ -d "fuzz/corpus/$name" ] && cp -n fuzz/corpus/"$name"/* "$out/$name/corpus/" 2>/dev/null || true
  echo "fuzzing $name for ${seconds}s"
  (cd "$out/$name" && "../../bin/$target" -max_total_time="$seconds" -max_len=65536 \
      -print_final_stats=1 corpus >"fuzz.log" 2>&1) || { tail -40 "$out/$name/fuzz.log"; exit 1; }
  grep -E '^stat::number_of_executed_units' "$out/$name/fuzz.log" || true
done
echo "fuzzing: no crash"
