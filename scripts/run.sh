#!/usr/bin/env bash
# The main job: build the plug-in, the stand-in host and the stand-in GNU
# cross toolchain, then let the host build the example workspace through the
# plug-in. The outputs end up in examples/demo/Debug (demo.x and demo.mot).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quorle quorle-host quorle-standin
./build/bin/quorle-host info --summary
./build/bin/quorle-host toolchain build/toolchain
./build/bin/quorle-host build examples/demo/demo.qws --toolchain build/toolchain "$@"
