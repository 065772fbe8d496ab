#!/usr/bin/env bash
# Builds one generated project twice, side by side: with quorle-host through
# the plug-in and the stand-in toolchain, and with ninja and the machine's gcc
# on the same sources with the same compile flags. Prints the three ratios
# (full build, no-op, one header touched) and the peak memory of each.
#
#   bash bench/ninja/compare.sh [FILES] [HEADERS] [JOBS]
#
# Defaults: 2000 C files, 200 headers (each used by FILES/HEADERS files),
# -j 2. Needs a built tree (cmake --preset default && cmake --build --preset
# default) and ninja. Not run by the tests: it takes minutes.
set -euo pipefail
files=${1:-2000}
headers=${2:-200}
jobs=${3:-2}
repo=$(cd "$(dirname "$0")/../.." && pwd)
# QUORLE_BUILD_DIR: a copy of the build tree's bin/, lib/ and share/ to use.
host="${QUORLE_BUILD_DIR:-$repo/build}/bin/quorle-host"
[ -x "$host" ] || { echo "build the tree first: $host is missing" >&2; exit 1; }
command -v ninja >/dev/null || { echo "ninja is missing (apt-get install ninja-build)" >&2; exit 1; }
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

# ---- the quorle workspace ------------------------------------------------
cat > "$work/q/bench.qws" <<QWS
{ "toolchain": "Dravik GNUCORVO [ELF]", "cpuSeries": "CORVO",
  "phases": ["GNU Compiler", "GNU Assembler", "GNU Linker"],
  "projects": [ { "name": "bench", "dir": ".", "files": [${list} "src/start.s"],
    "options": [
      { "phase": "Compiler", "fileType": "C source file",
        "value": "[V|VERSION|2] [S|OBJPATH|\"\$(CONFIGDIR)\\\\\$(FILELEAF).o\"] [S|INCDIR|\"\$(PROJDIR)\\\\include\"] [B|OPTIMIZE|1] [I|OPTLV|2] [S|APPTXT|\"-fno-pie\"] [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]" },
      { "phase": "Assembler", "fileType": "Assembly source file",
        "value": "[V|VERSION|2] [S|OBJPATH|\"\$(CONFIGDIR)\\\\\$(FILELEAF).o\"] [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]" },
      { "phase": "Linker", "value": "[V|VERSION|2] [S|OUTFILE|\"\$(CONFIGDIR)\\\\bench.x\"] [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]" }
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

# ---- the ninja project ---------------------------------------------------
{
  echo "rule cc"
  echo "  command = gcc -MD -MF \$out.d -c -x c $flags \$in -o \$out"
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

read -r nf nfm < <(measure "$work/n" "${n[@]}")
read -r qf qfm < <(measure "$work/q" "${q[@]}")
read -r nn nnm < <(measure "$work/n" "${n[@]}")
read -r qn qnm < <(measure "$work/q" "${q[@]}")
grep -q "0 of" "$work/out" || { echo "the quorle no-op build ran steps:" >&2; cat "$work/out" >&2; exit 1; }
sleep 0.05
touch "$work/q/include/h017.h" "$work/n/include/h017.h"
read -r nt ntm < <(measure "$work/n" "${n[@]}")
read -r qt qtm < <(measure "$work/q" "${q[@]}")
rebuilt=$(grep -c "Compiling" "$work/out" || true)

ratio() { echo "scale=2; $1 / $2" | bc -l; }
printf 'Generated project: %d C files, %d headers, -j %d\n' "$files" "$headers" "$jobs"
printf '%-24s %10s %10s %8s\n' "case" "quorle s" "ninja s" "ratio"
printf '%-24s %10.3f %10.3f %8s\n' "full build" "$qf" "$nf" "$(ratio "$qf" "$nf")"
printf '%-24s %10.3f %10.3f %8s\n' "no-op" "$qn" "$nn" "$(ratio "$qn" "$nn")"
printf '%-24s %10.3f %10.3f %8s\n' "touch one header" "$qt" "$nt" "$(ratio "$qt" "$nt")"
printf 'files recompiled after the touch: %d (expected %d)\n' "$rebuilt" $(( (files + headers - 1 - 17) / headers ))
printf 'peak memory (KB): quorle full %d, no-op %d, touch %d; ninja full %d, no-op %d, touch %d\n' \
  "$qfm" "$qnm" "$qtm" "$nfm" "$nnm" "$ntm"
