#!/usr/bin/env bash
# Checks a built Quorle.dll: the expected machine, exactly the 27 entry points
# by plain name (no @N stdcall decoration, no C++ names), and imports from
# Windows system DLLs only, so that the run-times are linked in.
# Usage: scripts/check-dll.sh <dll> <mingw-triple> <bfd-format>
set -euo pipefail
dll=$1 triple=$2 format=$3
cd "$(dirname "$0")/.."
dump=$("$triple-objdump" -p "$dll")

grep -q "file format $format" <<<"$dump" || { echo "$dll: not $format"; exit 1; }

names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
        sed -n 's/^\s*\[ *[0-9]*\] \(.*\)$/\1/p' | sort)
expected=$(grep -o 'QUORLE_CALL [A-Za-z]*(' interface/quorle.h | sed 's/QUORLE_CALL //; s/(//' | sort)
if [ "$names" != "$expected" ]; then
  echo "$dll exports differ from the entry points of interface/quorle.h:"
  diff <(echo "$expected") <(echo "$names") || true
  exit 1
fi
count=$(wc -l <<<"$names")
[ "$count" -eq 27 ] || { echo "$dll exports $count names, expected 27"; exit 1; }
if grep -q '[@?]\|^_Z' <<<"$names"; then echo "$dll has decorated exports"; exit 1; fi

system='^(kernel32|user32|advapi32|shell32|shlwapi|comctl32|gdi32|ole32|msvcrt)\.dll$'
bad=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | grep -Ev "$system" || true)
if [ -n "$bad" ]; then echo "$dll imports non-system DLLs: $bad"; exit 1; fi
echo "$dll: 27 undecorated exports, system imports only"
