#!/usr/bin/env bash
# Builds a copy of examples/demo under wine64 with the Windows quorle-host.exe
# and the 64-bit Quorle.dll, running the stand-in toolchain through the
# plug-in's Windows process layer. Wine starts a Linux program detached (no
# process handle, no exit code, no output in the caller's pipe), so each tool
# name in <triplet>/bin is the Windows bridge, which runs the Linux stand-in
# laid out in <triplet>/host and hands its output and exit code on.
# Checks: a failed step ends the build (and -k goes on) without hanging; the
# dependency scan runs gcc -M through the plug-in; PostPhase runs objcopy and
# ar; demo.mot equals the Linux build's byte for byte and demo.x has the same
# symbols; a second build runs no step; clean removes what the build made.
# With the firmware toolchain (arm-none-eabi) installed, the Cortex-M3 example
# is built the same way and compared with its Linux build.
# QUORLE_KEEP_WINE_BUILD=1 keeps the work folder in /tmp.
# Usage: scripts/test-wine-build.sh [windows-build-dir] [linux-build-dir]
set -euo pipefail
cd "$(dirname "$0")/.."
win=${1:-build-win64}
linux=${2:-build}
jobs=${QUORLE_JOBS:-$(nproc)}
wine=/usr/lib/wine/wine64
[ -x "$wine" ] || wine=$(command -v wine64)

[ -f "$linux/CMakeCache.txt" ] || cmake --preset default >/dev/null
cmake --build "$linux" -j "$jobs" --target quorle quorle-host quorle-standin >/dev/null
cmake --build "$win" -j "$jobs" --target quorle quorle-host quorle-wine-bridge >/dev/null

export WINEPREFIX="$(pwd)/$win/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
"$wine" wineboot --init >/dev/null 2>&1 || true

work=$(mktemp -d /tmp/quorle-wine-build-XXXXXX)
[ -n "${QUORLE_KEEP_WINE_BUILD:-}" ] || trap 'rm -rf "$work"' EXIT
host_exe="$(pwd)/$win/bin/quorle-host.exe"
linux_host="$(pwd)/$linux/bin/quorle-host"
drive() { local p=$1; echo "Z:${p//\//\\}"; }
status=0
fail() { echo "FAILED: $*"; status=1; }
# Under wine64, bounded: a hang is a failure, not a stuck test.
whost() { timeout 600 "$wine" "$host_exe" "$@" </dev/null; }
# A build expected to succeed, its output in the log named first. Wine now and
# then fails to start a process that it started a moment before; such a build
# is run once more (it goes on from where it stopped) and says why.
wbuild() { # log arguments...
  local log=$1; shift
  whost build "$@" >"$log" 2>&1 && return 0
  grep -q "the tool could not be started" "$log" || return 1
  echo "-- Wine could not start a tool; the build once more:"
  grep "the tool could not be started" "$log"
  whost build "$@" >"$log" 2>&1
}

# The Linux build, for the outputs to compare with. It is made in the folder
# the Windows build uses after it, since the S-record header names the file.
"$linux_host" toolchain "$work/tc-linux" >/dev/null
cp -r examples/demo "$work/win"
rm -rf "$work/win/Debug" "$work/win/Release"
"$linux_host" build "$work/win/demo.qws" --toolchain "$work/tc-linux" >"$work/linux.log" 2>&1 ||
  { cat "$work/linux.log"; fail "the Linux build"; }
mkdir "$work/linux"
cp "$work/win/Debug/demo.mot" "$work/win/Debug/demo.x" "$work/linux/"
"$linux_host" clean "$work/win/demo.qws" >/dev/null
(cd "$work/win" && find . | sort) >"$work/linux-clean.txt"
rm -rf "$work/win"

# The Windows layout: the Linux stand-in moves to host/, the bridge takes
# every tool's name in bin/.
"$linux_host" toolchain "$work/tc" >/dev/null
for t in "$work"/tc/*/; do
  [ -d "$t/bin" ] || continue
  mv "$t/bin" "$t/host"
  mkdir "$t/bin"
  for tool in "$t"/host/*.exe; do cp "$win/bin/quorle-wine-bridge.exe" "$t/bin/$(basename "$tool")"; done
done
tc=$(drive "$work/tc")

echo "== a failing step under wine64"
cp -r examples/demo "$work/broken"
rm -rf "$work/broken/Debug" "$work/broken/Release"
printf 'int broken(void) { return missing_name; }\n' >"$work/broken/src/util.c"
for k in "" -k; do
  start=$(date +%s)
  if whost build "$(drive "$work/broken/demo.qws")" --toolchain "$tc" -j 2 $k >"$work/broken$k.log" 2>&1; then
    fail "a build with a compile error succeeded"
  fi
  took=$(($(date +%s) - start))
  [ "$took" -lt 300 ] || fail "the failing build took ${took}s"
  grep -q "missing_name" "$work/broken$k.log" || { cat "$work/broken$k.log"; fail "the compiler's message is not shown"; }
  grep -q "Build FAILED" "$work/broken$k.log" || { cat "$work/broken$k.log"; fail "no failure summary"; }
done
# With -k the other sources are still compiled.
[ -f "$work/broken/Debug/main.o" ] || fail "-k did not go on after the failed step"

echo "== the demo under wine64"
cp -r examples/demo "$work/win"
rm -rf "$work/win/Debug" "$work/win/Release"
find "$work/win" | sort >"$work/before.txt"
ws=$(drive "$work/win/demo.qws")
export QUORLE_STANDIN_LOG="$work/spawns.log"
wbuild "$work/win.log" "$ws" --toolchain "$tc" -j 2 || { cat "$work/win.log"; fail "the build under wine64"; }
for tool in corvo-elf-gcc corvo-elf-g++ corvo-elf-as corvo-elf-ld corvo-elf-objcopy corvo-elf-ar corvo-elf-libgen; do
  grep -qx "$tool" "$work/spawns.log" 2>/dev/null || fail "the build ran no $tool"
done
cmp "$work/linux/demo.mot" "$work/win/Debug/demo.mot" || fail "demo.mot differs from the Linux build's"
[ -s "$work/win/Debug/demo.x" ] || fail "the build made no demo.x"
if ! diff <(nm "$work/linux/demo.x") <(nm "$work/win/Debug/demo.x") >/dev/null; then
  fail "the symbols of demo.x differ from the Linux build's"
fi

echo "== a second build"
rm -f "$work/spawns.log"
whost build "$ws" --toolchain "$tc" >"$work/again.log" 2>&1 || { cat "$work/again.log"; fail "the second build"; }
grep -q "0 of 8 steps run, 8 up to date" "$work/again.log" || { cat "$work/again.log"; fail "the second build ran steps"; }
[ ! -e "$work/spawns.log" ] || fail "the second build started tools: $(tr '\n' ' ' <"$work/spawns.log")"

echo "== the dependency scan (gcc -M) through the plug-in"
whost deps "$ws" src/main.c --toolchain "$tc" >"$work/deps.log" 2>&1 || { cat "$work/deps.log"; fail "deps"; }
grep -qE "^corvo-elf-g(cc|\+\+)$" "$work/spawns.log" 2>/dev/null || fail "deps ran no compiler"
grep -qi "board.h" "$work/deps.log" || { cat "$work/deps.log"; fail "deps did not find demo/board.h"; }
unset QUORLE_STANDIN_LOG

echo "== clean"
whost clean "$ws" >"$work/clean.log" 2>&1 || { cat "$work/clean.log"; fail "clean"; }
# What the build made is gone, as on Linux; the folder it made its outputs
# in stays, and on Windows the host's lock file of the configuration, which
# another process may hold open.
find "$work/win" | sort | grep -vxE "$work/win/Debug(/\.quorle-host-lock)?" >"$work/after.txt" || true
diff "$work/before.txt" "$work/after.txt" || fail "clean left files behind"
diff "$work/linux-clean.txt" <(cd "$work/win" && find . | grep -vx "./Debug/.quorle-host-lock" | sort) ||
  fail "clean leaves other files than on Linux"
ls "$work"/tc/*/host/qwb* >/dev/null 2>&1 && fail "the bridge left exchange files"

echo "== an interrupted build under wine64"
# Ctrl+C while the tools run (each waits first): the host ends its tools, each
# bridge's Linux tool sees its bridge go and stops, and the next build makes
# what the interrupted one left.
cp -r examples/demo "$work/stop"
rm -rf "$work/stop/Debug" "$work/stop/Release"
QUORLE_STANDIN_DELAY_MS=60000 whost build "$(drive "$work/stop/demo.qws")" --toolchain "$tc" -j 2 \
  >"$work/stop.log" 2>&1 &
builder=$!
# The Linux tools, named as Wine gives them ("Z:/tmp/.../bin\..\host\corvo-elf-gcc.exe").
tools="$(basename "$work").tc.*host.[a-z]*-elf-"
for _ in $(seq 100); do pgrep -f "$tools" >/dev/null && break; sleep 0.1; done
pgrep -f "$tools" >/dev/null || fail "no tool was running to interrupt"
sleep 1
# Wine turns SIGINT into the console's Ctrl+C event.
# (The process is named by its program, timeout's is not: one Ctrl+C only.)
pkill -INT -x "$(basename "$host_exe")" || fail "no quorle-host.exe to interrupt"
start=$(date +%s)
if wait "$builder"; then fail "the interrupted build succeeded"; fi
took=$(($(date +%s) - start))
[ "$took" -lt 30 ] || fail "the interrupted build took ${took}s to end"
grep -q "Build INTERRUPTED" "$work/stop.log" || { cat "$work/stop.log"; fail "the build was not interrupted"; }
for _ in $(seq 100); do pgrep -f "$tools" >/dev/null || break; sleep 0.1; done
pgrep -af "$tools" && fail "tools kept running after the interrupt"
whost build "$(drive "$work/stop/demo.qws")" --toolchain "$tc" -j 2 >"$work/stop-again.log" 2>&1 ||
  { cat "$work/stop.log" "$work/stop-again.log"; fail "the build after the interrupt"; }
diff <(nm "$work/linux/demo.x") <(nm "$work/stop/Debug/demo.x") >/dev/null ||
  fail "after the interrupt demo.x differs from the Linux build's"
ls "$work"/tc/*/host/qwb* >/dev/null 2>&1 && fail "the interrupted bridges left exchange files"

# The Cortex-M3 firmware, when its toolchain is installed: the same outputs
# as its Linux build.
if command -v arm-none-eabi-gcc >/dev/null; then
  echo "== the Cortex-M3 firmware under wine64"
  "$linux_host" toolchain "$work/tc-m3" --target cortex-m3 >/dev/null
  cp -r examples/cortex-m3 "$work/fw"
  rm -rf "$work/fw/Debug" "$work/fw/Release"
  "$linux_host" build "$work/fw/firmware.qws" --toolchain "$work/tc-m3" >"$work/fw-linux.log" 2>&1 ||
    { cat "$work/fw-linux.log"; fail "the firmware's Linux build"; }
  mkdir "$work/fw-linux"
  cp "$work"/fw/Debug/firmware.* "$work/fw-linux/" 2>/dev/null || true
  rm -rf "$work/fw/Debug"
  for t in "$work"/tc-m3/*/; do
    [ -d "$t/bin" ] || continue
    mv "$t/bin" "$t/host"
    mkdir "$t/bin"
    for tool in "$t"/host/*.exe; do cp "$win/bin/quorle-wine-bridge.exe" "$t/bin/$(basename "$tool")"; done
  done
  wbuild "$work/fw.log" "$(drive "$work/fw/firmware.qws")" --toolchain "$(drive "$work/tc-m3")" -j 2 ||
    { cat "$work/fw.log"; fail "the firmware's build under wine64"; }
  [ -s "$work/fw/Debug/firmware.x" ] || fail "the firmware's build made no firmware.x"
  if [ -f "$work/fw-linux/firmware.mot" ]; then
    cmp "$work/fw-linux/firmware.mot" "$work/fw/Debug/firmware.mot" || fail "firmware.mot differs from the Linux build's"
  fi
  diff <(nm "$work/fw-linux/firmware.x") <(nm "$work/fw/Debug/firmware.x") >/dev/null ||
    fail "the symbols of firmware.x differ from the Linux build's"
else
  echo "== no arm-none-eabi-gcc: the firmware was not built under wine64"
fi

"$(dirname "$wine")/wineserver" -k 2>/dev/null || true
[ $status = 0 ] && echo "wine build: passed" || echo "wine build: FAILED"
exit $status
