#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
set -euo pipefail
packages=(build-essential cmake ninja-build g++ clang libclang-rt-14-dev
          libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev binutils
          locales make ccache bc time libncurses-dev tmux)
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 xvfb imagemagick)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
