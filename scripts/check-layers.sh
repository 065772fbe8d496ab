#!/usr/bin/env bash
# No folder of the plug-in includes a folder above it (cmake/layers.txt holds
# the order, bottom first). The terminal view (tui/, a library of its own)
# sits on the sheet, and nothing includes it. The window view (wingui/, its
# Windows counterpart) sits on the sheet too, and no layer includes it. The stand-in host and toolchain see the plug-in
# only through the chief header, plus the plain helpers of the bottom layers.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t layers < <(grep -vE '^\s*(#|$)' cmake/layers.txt)
declare -A rank
for i in "${!layers[@]}"; do rank[${layers[$i]}]=$i; done
outside_allowed='^(core|platform|options|toolchain|host|tools)/|^interface/quorle\.h$'

bad=0
while IFS=: read -r file _ inc; do
  target=${inc%%/*}
  from=${file%%/*}
  if [[ $target == wingui && $from != wingui ]]; then
    echo "layer order: $file includes $inc (the window view is loaded, never included)"; bad=1
  elif [[ $from == wingui ]]; then
    if [ -n "${rank[$target]+x}" ] && [ "${rank[$target]}" -gt "${rank[sheet]}" ]; then
      echo "layer order: $file includes $inc (the window view sits on the sheet)"; bad=1
    fi
  elif [[ $target == tui && $from != tui ]]; then
    # The terminal view is loaded at run time; nothing includes it.
    echo "layer order: $file includes $inc (the terminal view is loaded, never included)"; bad=1
  elif [[ $from == tui ]]; then
    # A library of its own above the sheet and beside the exports.
    if [ -n "${rank[$target]+x}" ] && [ "${rank[$target]}" -gt "${rank[sheet]}" ]; then
      echo "layer order: $file includes $inc (the terminal view sits on the sheet)"; bad=1
    fi
  elif [ -n "${rank[$from]+x}" ]; then
    [ -n "${rank[$target]+x}" ] || continue # a folder outside the plug-in: not a layer
    if [ "${rank[$target]}" -gt "${rank[$from]}" ]; then
      echo "layer order: $file includes $inc ($target is above $from)"; bad=1
    fi
  elif [[ $from == host || $from == tools ]]; then
    if [ -n "${rank[$target]+x}" ] && ! [[ $inc =~ $outside_allowed ]]; then
      echo "layer order: $file includes $inc (the host sees the plug-in only through its exports)"; bad=1
    fi
  fi
done < <(grep -rnoE --include='*.cpp' --include='*.h' --include='*.inc' \
           '^\s*#\s*include\s*"[a-z_0-9]+/[^"]+"' "${layers[@]}" tui wingui host tools 2>/dev/null |
         sed -E 's/:\s*#\s*include\s*"/:/; s/"$//')
[ "$bad" = 0 ] || exit 1
echo "layer order: no folder includes one above it"
