#!/usr/bin/env bash
# Builds the example firmware (examples/cortex-m3) through the plug-in with
# Debian's arm-none-eabi tools behind the Corvo tool names, and runs it in
# qemu with RAM filled with 0xA5 first, so that a start-up code that failed
# to copy .data, to zero .bss or to run the C++ constructors would show.
#   scripts/run-firmware.sh [--config DEBUG|RELEASE] [--machine lm3s6965evb|mps2-an385]
set -euo pipefail
cd "$(dirname "$0")/.."
config=DEBUG
machine=lm3s6965evb
while [ $# -gt 0 ]; do
  case "$1" in
    --config) config=$2; shift 2 ;;
    --machine) machine=$2; shift 2 ;;
    *) echo "usage: scripts/run-firmware.sh [--config DEBUG|RELEASE] [--machine NAME]" >&2; exit 2 ;;
  esac
done
case "$config" in
  DEBUG) dir=Debug ;;
  RELEASE) dir=Release ;;
  *) echo "unknown configuration $config (DEBUG or RELEASE)" >&2; exit 2 ;;
esac
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quorle quorle-host quorle-standin
host=./build/bin/quorle-host
toolchain=build/toolchain-cortex-m3
$host toolchain "$toolchain" --target cortex-m3
$host build examples/cortex-m3/firmware.qws --toolchain "$toolchain" --config "$config"
head -c 65536 /dev/zero | tr '\0' '\245' > build/ram-a5.bin
echo "== qemu-system-arm -M $machine: examples/cortex-m3/$dir/firmware.x"
status=0
timeout 20 qemu-system-arm -M "$machine" -nographic -semihosting \
  -kernel "examples/cortex-m3/$dir/firmware.x" \
  -device loader,file=build/ram-a5.bin,addr=0x20000000 \
  2> >(grep -v '^Timer with period zero' >&2) || status=$?
echo "qemu exit code: $status"
exit "$status"
