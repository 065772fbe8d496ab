#!/usr/bin/env bash
# Screenshots of the Win32 options sheet, one per tab with a realistic
# selection, taken under wine64 on a virtual display at 96 and at 144 dots
# per inch and saved as docs/images/sheet-<tab>-<dpi>.png (shown in the
# README), in 256 colours to keep them small.
# Usage: scripts/screenshot-sheet.sh [build-dir]  (the scripts/test-windows.sh build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win64}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)
for tool in xvfb-run import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/install-deps.sh --windows"; exit 1; }
done
cmake --build "$build" -j "${QUORLE_JOBS:-2}" --target test_wingui_sheet >/dev/null

export WINEPREFIX="$(pwd)/$build/wineprefix" WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
# A server started without the virtual display would keep windows from it.
stop_wine() { "$wine"server -k 2>/dev/null || "$(dirname "$wine")/wineserver" -k 2>/dev/null || true; }
"$wine" wineboot --init >/dev/null 2>&1 || true

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT
mkdir -p docs/images
export QUORLE_SCREENSHOT_DIR="Z:${shots//\//\\}"

status=0
for dpi in 96 144; do
  stop_wine
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 || true
  stop_wine
  # Inside the virtual display: the sheet in the background, the camera here.
  xvfb-run -a -s "-screen 0 1920x1200x24" bash -c '
    "$0" "$1" --gtest_also_run_disabled_tests --gtest_filter=SheetWindow.DISABLED_Screenshots \
      >"$2/run.log" 2>&1 &
    run=$!
    while kill -0 $run 2>/dev/null; do
      for ready in "$2"/*.ready; do
        [ -e "$ready" ] || continue
        name=$(basename "$ready" .ready)
        sleep 0.5 # the last repaint
        import -window root "$2/raw.png"
        # The desktop is black: what is left after trimming is the sheet.
        convert "$2/raw.png" -trim +repage -strip -colors 256 "PNG8:docs/images/$name-$3.png"
        rm -f "$ready"; : >"$2/$name.done"
        echo "docs/images/$name-$3.png"
      done
      sleep 0.1
    done
    wait $run || { cat "$2/run.log"; exit 1; }
  ' "$wine" "$build/bin/test_wingui_sheet.exe" "$shots" $dpi || status=$?
done
stop_wine
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
stop_wine
exit $status
