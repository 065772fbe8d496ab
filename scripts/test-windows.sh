#!/usr/bin/env bash
# Builds the unit tests listed in cmake/windows-tests.txt and a 64-bit
# Quorle.dll for 64-bit Windows and runs them under wine64, headless.
# (32-bit Wine is not available from Debian here; the 32-bit DLL is checked by
# scripts/build-windows.sh.) Then the options sheet's window test, which needs
# a display, under xvfb-run at 96 and at 144 dots per inch, and a build of the
# demo under wine64 (scripts/test-wine-build.sh).
# Usage: scripts/test-windows.sh [build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-win64}
jobs=${QUORLE_JOBS:-$(nproc)}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)

mapfile -t suites < <(grep -E "^[a-z_0-9]+$" cmake/windows-tests.txt)
targets=(quorle quorle-host quorle-wine-bridge test_wingui_sheet)
for s in "${suites[@]}"; do targets+=("test_$s"); done

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
  -DQUORLE_TESTS=ON -DQUORLE_BENCH=OFF -DQUORLE_HOST=ON >/dev/null
cmake --build "$build" -j "$jobs" --target "${targets[@]}"
bash scripts/check-dll.sh "$build/bin/Quorle.dll" x86_64-w64-mingw32 pei-x86-64

# A private, headless Wine prefix; no Mono or Gecko prompts, no display.
export WINEPREFIX="$(pwd)/$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
"$wine" wineboot --init >/dev/null 2>&1 || true

passed=0 failed=0 status=0
stop_wine() { "$wine"server -k 2>/dev/null || "$(dirname "$wine")/wineserver" -k 2>/dev/null || true; }
# Every run under Wine is bounded: a hang (a dialog nobody closes, a stuck
# wineserver) is a failure with a name, not a CI run that never ends.
bounded() { # seconds command...
  local limit=$1 rc=0; shift
  timeout -k 20 "$limit" "$@" || rc=$?
  if [ $rc = 124 ] || [ $rc = 137 ]; then
    echo "did not finish within $limit s: $*" >&2
    stop_wine
  fi
  return $rc
}

for s in "${suites[@]}"; do
  log="$build/wine-test_$s.log"
  echo "== test_$s.exe under wine64"
  if bounded 900 "$wine" "$build/bin/test_$s.exe" --gtest_brief=1 >"$log" 2>&1 </dev/null; then :; else status=1; fi
  tail -n 20 "$log" | grep -E '^\[  (PASSED|FAILED|SKIPPED) ' || tail -n 20 "$log"
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log" | tail -1)
  # --gtest_brief prints no summary of failures, only one line per failed test.
  f=$(grep -cE '^\[  FAILED  \] [A-Za-z0-9_/]+\.[A-Za-z0-9_/]+ \(' "$log" || true)
  passed=$((passed + ${p:-0})); failed=$((failed + ${f:-0}))
  [ -n "$p" ] || { echo "test_$s.exe did not finish; see $log"; status=1; }
done
count() { # log
  local p f
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$1" | tail -1)
  f=$(grep -cE '^\[  FAILED  \] [A-Za-z0-9_/]+\.[A-Za-z0-9_/]+ \(' "$1" || true)
  passed=$((passed + ${p:-0})); failed=$((failed + ${f:-0}))
  [ -n "$p" ] || { echo "$(basename "$1") did not finish"; status=1; }
}

# The sheet's windows on a virtual display; the second run at 144 dots per
# inch checks only the layout: every control on its page, captions and
# fields in columns, the tree's labels whole, the themed controls.
if command -v xvfb-run >/dev/null; then
  for dpi in 96 144; do
    stop_wine
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 || true
    stop_wine
    filter='*'
    [ $dpi = 96 ] || filter='SheetWindow.EveryControlStaysOnItsPage:SheetWindow.LabelsFieldsAndTheCategoryBoxLineUpInColumns:SheetWindow.TheTreeShowsWholeLabels*:SheetWindow.ControlsAreTheThemedCommonControls*'
    log="$build/wine-test_wingui_sheet-$dpi.log"
    echo "== test_wingui_sheet.exe under wine64 and Xvfb at $dpi dpi"
    run_sheet() {
      bounded 900 xvfb-run -a -s "-screen 0 1280x1024x24" "$wine" "$build/bin/test_wingui_sheet.exe" \
        --gtest_brief=1 --gtest_filter="$filter" >"$log" 2>&1 </dev/null
    }
    rc=0; run_sheet || rc=$?
    # A run Wine or the X server left hanging is run once more, and says so;
    # failed tests are not. A sheet that never closed stops its test program
    # (exit 3, named in the log): that run too is kept and run once more.
    if [ $rc = 124 ] || [ $rc = 137 ] || { [ $rc = 3 ] && grep -q 'the sheet did not close' "$log"; }; then
      tail -n 8 "$log"
      cp "$log" "$log.first"
      echo "== test_wingui_sheet.exe at $dpi dpi did not finish (see $log.first); once more"
      rc=0; run_sheet || rc=$?
    fi
    [ $rc = 0 ] || status=1
    tail -n 20 "$log" | grep -E '^\[  (PASSED|FAILED|SKIPPED) ' || tail -n 20 "$log"
    count "$log"
  done
  stop_wine
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1 || true
else
  echo "xvfb-run is missing (scripts/install-deps.sh --windows): the sheet's window test did not run"
  status=1
fi
stop_wine
# The demo built by quorle-host.exe through the plug-in, with the Linux build's
# outputs to compare with.
echo "== the demo built under wine64"
bash scripts/test-wine-build.sh "$build" || status=1
echo "windows: $passed passed, $failed failed"
exit $status
