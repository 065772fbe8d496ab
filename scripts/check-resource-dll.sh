#!/usr/bin/env bash
# Checks a built Resquorle.dll: the expected machine, a resource section, no
# entry point and no imported DLL, so that loading it runs no code.
# Usage: scripts/check-resource-dll.sh <dll> <mingw-triple> <bfd-format>
set -euo pipefail
dll=$1 triple=$2 format=$3
dump=$("$triple-objdump" -p "$dll")
grep -q "file format $format" <<<"$dump" || { echo "$dll: not $format"; exit 1; }
grep -q '^AddressOfEntryPoint[[:space:]]*0*$' <<<"$dump" || { echo "$dll has an entry point"; exit 1; }
if grep -q 'DLL Name:' <<<"$dump"; then
  echo "$dll imports: $(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr '\n' ' ')"
  exit 1
fi
"$triple-objdump" -h "$dll" | grep -q '\.rsrc' || { echo "$dll has no resources"; exit 1; }
echo "$dll: resources only, no entry point, no imports"
