#!/usr/bin/env bash
# The main job: build the plug-in and the stand-in host, then run the host.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default --target quorle quorle-host
./build/bin/quorle-host info
