#!/usr/bin/env bash
# Builds one generated project three ways, side by side: with quorle-host
# through the plug-in and the stand-in toolchain, with a hand-written
# build.ninja, and with CMake + Ninja, all with the machine's gcc and the same
# compile flags. Each case runs as a round of all three, one after another,
# so each round's ratios compare runs made under the same load; it prints the
# median of each tool's times with their min and max, and the median of the
# per-round ratios. The no-op is also held against the least a no-op can do
# (quorle-stat-bound: read the state file, stat each path it names once).
#
#   bash bench/ninja/compare.sh [FILES] [HEADERS] [JOBS]
#
# Defaults: 2000 C files, FILES/10 headers (each used by 10 files), -j 2.
# RUNS (default 5) rounds of the no-op and the touch; FULL_RUNS full builds
# (default 5, 3 from 10,000 files). Needs a built tree (cmake --preset
# default && cmake --build --preset default), ninja and cmake. Not run by the
# tests: it takes minutes (about 3 x FULL_RUNS full builds).
set -euo pipefail
files=${1:-2000}
headers=${2:-$(( files / 10 ))}
jobs=${3:-2}
runs=${RUNS:-5}
if [ "$files" -ge 10000 ]; then full_runs=${FULL_RUNS:-3}; else full_runs=${FULL_RUNS:-5}; fi
repo=$(cd "$(dirname "$0")/../.." && pwd)
# QUORLE_BUILD_DIR: a copy of the build tree's bin/, lib/ and share/ to use.
bin="${QUORLE_BUILD_DIR:-$repo/build}/bin"
host="$bin/quorle-host"
bound="$bin/quorle-stat-bound"
[ -x "$host" ] && [ -x "$bound" ] || { echo "build the tree first: $host or $bound is missing" >&2; exit 1; }
command -v ninja >/dev/null || { echo "ninja is missing (apt-get install ninja-build)" >&2; exit 1; }
command -v cmake >/dev/null || { echo "cmake is missing" >&2; exit 1; }
work=$(mktemp -d /tmp/quorle-vs-ninja.XXXXXX)
trap 'rm -rf "$work"' EXIT
export QUORLE_REGISTRY="$work/registry.ini" # never the user's own
"$host" toolchain "$work/tc" >/dev/null

# ---- the sources ---------------------------------------------------------
mkdir -p "$work/q/src" "$work/q/include"
for ((h = 0; h < headers; h++)); do
  printf '#pragma once\n#include <stdint.h>\n#define H%03d %d\nstatic inline int32_t h%03d(int32_t x) { return x + H%03d; }\n' \
    "$h" "$h" "$h" "$h" > "$(printf '%s/q/include/h%03d.h' "$work" "$h")"
done
list=""
for ((i = 0; i < files; i++)); do
  h=$((i % headers))
  printf '#include "h%03d.h"\nint32_t f%05d(int32_t x) { return h%03d(x) * %d; }\n' "$h" "$i" "$h" "$i" \
    > "$(printf '%s/q/src/f%05d.c' "$work" "$i")"
  list+=$(printf '"src/f%05d.c",' "$i")
done
printf '.globl _start\n.text\n_start: jmp _start\n.section .note.GNU-stack,"",@progbits\n' > "$work/q/src/start.s"
cp -r "$work/q" "$work/n"
cp -r "$work/q" "$work/c"

# ---- the quorle workspace ------------------------------------------------
# The section layout gathers .text.*, .data.* and .bss.* into one output
# section each, as ld's default script does for the ninja links: without it
# every function of -ffunction-sections becomes an orphan output section of
# its own, and that link is slower than the one it is held against.
layout='[S|GROUPDET|.text|0|0||0||0|0|0|.text|All-files|<<FEND>>|0|.text.*|All-files|<<FEND>>|0|.rodata|All-files|<<FEND>>|0|.rodata.*|All-files|<<FEND>>|<<CEND>>|<<GEND>>|.data|0|0||0||0|0|0|.data|All-files|<<FEND>>|0|.data.*|All-files|<<FEND>>|<<CEND>>|<<GEND>>|.bss|0|0||0||0|0|0|.bss|All-files|<<FEND>>|0|.bss.*|All-files|<<FEND>>|0|COMMON|All-files|<<FEND>>|<<CEND>>|<<GEND>>|]'
cat > "$work/q/bench.qws" <<QWS
{ "toolchain": "Dravik GNUCORVO [ELF]", "cpuSeries": "CORVO",
  "phases": ["GNU Compiler", "GNU Assembler", "GNU Linker"],
  "projects": [ { "name": "bench", "dir": ".", "files": [${list} "src/start.s"],
    "options": [
      { "phase": "Compiler", "fileType": "C source file",
        "value": "[V|VERSION|2] [S|OBJPATH|\"\$(CONFIGDIR)\\\\\$(FILELEAF).o\"] [S|INCDIR|\"\$(PROJDIR)\\\\include\"] [B|OPTIMIZE|1] [I|OPTLV|2] [S|APPTXT|\"-fno-pie\"] [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]" },
      { "phase": "Assembler", "fileType": "Assembly source file",
        "value": "[V|VERSION|2] [S|OBJPATH|\"\$(CONFIGDIR)\\\\\$(FILELEAF).o\"] [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]" },
      { "phase": "Linker", "value": "[V|VERSION|2] [S|OUTFILE|\"\$(CONFIGDIR)\\\\bench.x\"] ${layout} [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]" }
    ] } ] }
QWS

# The compile flags the plug-in gives, without the family's target flags.
(cd "$work/q" && "$host" compdb bench.qws --toolchain "$work/tc" >/dev/null)
flags=$(python3 - "$work/q/compile_commands.json" <<'PY'
import json, sys
entry = json.load(open(sys.argv[1]))[0]
args = entry["arguments"][1:]
out, skip = [], False
for a in args:
    if skip: skip = False; continue
    if a == "-o": skip = True; continue
    if a == entry["file"] or a.startswith("-m") or a in ("-c", "-x", "c"): continue
    out.append(a.replace(" ", "\\ "))
print(" ".join(out))
PY
)

# ---- the hand-written ninja project --------------------------------------
{
  echo "rule cc"
  echo "  command = gcc -MD -MF \$out.d -c -x c ${flags//$work\/q/$work/n} \$in -o \$out"
  echo "  depfile = \$out.d"
  echo "  deps = gcc"
  echo "rule as"
  echo "  command = as \$in -o \$out"
  echo "rule link"
  echo "  command = ld -o \$out @\$out.rsp"
  echo "  rspfile = \$out.rsp"
  echo "  rspfile_content = \$in"
  objs=""
  for ((i = 0; i < files; i++)); do
    o=$(printf 'obj/f%05d.o' "$i")
    printf 'build %s: cc src/f%05d.c\n' "$o" "$i"
    objs+=" $o"
  done
  echo "build obj/start.o: as src/start.s"
  echo "build bench.x: link obj/start.o$objs"
} > "$work/n/build.ninja"

# ---- the CMake + Ninja project -------------------------------------------
cflags=${flags//$work\/q/$work/c}
cat > "$work/c/CMakeLists.txt" <<CML
cmake_minimum_required(VERSION 3.20)
project(bench C ASM)
file(GLOB sources CONFIGURE_DEPENDS src/*.c)
add_executable(bench.x \${sources} src/start.s)
separate_arguments(flags UNIX_COMMAND "$cflags")
set_source_files_properties(\${sources} PROPERTIES COMPILE_OPTIONS "\${flags}")
target_link_options(bench.x PRIVATE -nostdlib -nostartfiles -static)
CML
cmake -S "$work/c" -B "$work/c/build" -G Ninja -DCMAKE_BUILD_TYPE= >/dev/null

# ---- measuring -----------------------------------------------------------
# Runs a command in a directory; prints "seconds peak-kilobytes".
measure() {
  local dir=$1; shift
  local start end
  start=$(date +%s.%N)
  (cd "$dir" && /usr/bin/time -f '%M' -o "$work/mem" "$@" >"$work/out" 2>&1) ||
    { cat "$work/out" >&2; echo "failed: $*" >&2; exit 1; }
  end=$(date +%s.%N)
  echo "$(echo "$end - $start" | bc -l) $(cat "$work/mem")"
}
q=(env QUORLE_REGISTRY="$work/registry.ini" "$host" build bench.qws -j "$jobs" --toolchain "$work/tc")
n=(ninja -j "$jobs")
c=(ninja -C build -j "$jobs")
# Each tree is cleaned just before its own full build. ext4 without a journal
# passes over inodes freed in the last 30 seconds when it makes a file, so
# cleaning all three at once would slow only the first build after it.
clean_q() { rm -rf "$work/q/Debug"; }
clean_n() { (cd "$work/n" && ninja -t clean >/dev/null); }
clean_c() { (cd "$work/c" && ninja -C build -t clean >/dev/null); }
# One round: each of the three once, appending "seconds kilobytes" to
# $work/<case>.<tool>; a full round cleans each tree first.
round() {
  local case=$1
  [ "$case" != full ] || clean_q
  measure "$work/q" "${q[@]}" >> "$work/$case.q"
  cp "$work/out" "$work/$case.q.out"
  [ "$case" != full ] || clean_n
  measure "$work/n" "${n[@]}" >> "$work/$case.n"
  [ "$case" != full ] || clean_c
  measure "$work/c" "${c[@]}" >> "$work/$case.c"
}

for ((r = 0; r < full_runs; r++)); do
  round full
done
for ((r = 0; r < runs; r++)); do
  round noop
  grep -q " 0 of " "$work/noop.q.out" || { echo "the quorle no-op build ran steps:" >&2; cat "$work/noop.q.out" >&2; exit 1; }
  measure "$work/q" "$bound" "$work/q/Debug/.quorle-host-state" >> "$work/noop.b"
done
rebuilt=0
touched=$(( 17 % headers ))
th=$(printf 'include/h%03d.h' "$touched")
for ((r = 0; r < runs; r++)); do
  sleep 0.05
  touch "$work/q/$th" "$work/n/$th" "$work/c/$th"
  round touch
  rebuilt=$(grep -c "Compiling" "$work/touch.q.out" || true)
done

# ---- the report ----------------------------------------------------------
# "median min max" of a column of a file.
stats() {
  sort -g | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                  printf "%.3f %.3f %.3f\n", m, v[1], v[NR] }'
}
column() { awk -v k="$2" '{ print $k }' "$1"; }
# Median of the per-round ratios of quorle's time to another tool's.
paired() { paste -d' ' <(column "$work/$1.q" 1) <(column "$work/$1.$2" 1) | awk '{ print $1 / $2 }' | stats | cut -d' ' -f1; }
show() {
  local case=$1 label=$2
  read -r qm qlo qhi < <(column "$work/$case.q" 1 | stats)
  read -r nm nlo nhi < <(column "$work/$case.n" 1 | stats)
  read -r cm clo chi < <(column "$work/$case.c" 1 | stats)
  printf '%-18s %5d  %8.3f (%.3f-%.3f)  %8.3f (%.3f-%.3f)  %8.3f (%.3f-%.3f)  %6.2f  %6.2f\n' \
    "$label" "$(wc -l < "$work/$case.q")" "$qm" "$qlo" "$qhi" "$nm" "$nlo" "$nhi" "$cm" "$clo" "$chi" \
    "$(paired "$case" n)" "$(paired "$case" c)"
}
printf 'Generated project: %d C files, %d headers, -j %d\n' "$files" "$headers" "$jobs"
printf '%-18s %5s  %-24s  %-24s  %-24s  %6s  %6s\n' "case" "runs" "quorle s (min-max)" \
  "ninja s (min-max)" "cmake+ninja s (min-max)" "/ninja" "/cmake"
show full "full build"
show noop "no-op"
show touch "touch one header"
read -r bm blo bhi < <(column "$work/noop.b" 1 | stats)
read -r qm _ _ < <(column "$work/noop.q" 1 | stats)
printf 'lower bound (stat each path in the state once): %.3f s (%.3f-%.3f); quorle no-op %.2f x of it\n' \
  "$bm" "$blo" "$bhi" "$(echo "$qm / $bm" | bc -l)"
printf 'files recompiled after the touch: %d (expected %d)\n' "$rebuilt" $(( (files + headers - 1 - touched) / headers ))
for case in full noop touch; do
  printf 'peak memory, %s (median KB): quorle %.0f, ninja %.0f, cmake+ninja %.0f\n' "$case" \
    "$(column "$work/$case.q" 2 | stats | cut -d' ' -f1)" "$(column "$work/$case.n" 2 | stats | cut -d' ' -f1)" \
    "$(column "$work/$case.c" 2 | stats | cut -d' ' -f1)"
done
