#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those missing.
set -euo pipefail
packages=(build-essential cmake ninja-build g++ clang libclang-rt-14-dev
          libgtest-dev googletest libbenchmark-dev nlohmann-json3-dev binutils
          locales make ccache bc time libncurses-dev tmux distcc
          librsvg2-bin) # the memory map's picture as PNG
# The firmware on a real target: the Cortex-M tools, their C libraries and
# qemu, without their recommendations (qemu would bring a desktop's worth of
# packages, newlib a 1.5 GB C++ library the examples do not use).
lean=(gcc-arm-none-eabi libnewlib-arm-none-eabi picolibc-arm-none-eabi qemu-system-arm)
# The 32-bit Linux build of the plug-in and its tests, run under qemu-user
# (GoogleTest is compiled from the googletest sources above), with the host's
# 32-bit run-time libraries that the programs load.
lean+=(g++-i686-linux-gnu qemu-user libc6-i386 lib32stdc++6)
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64 xvfb imagemagick)
fi
missing() {
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t missing_packages < <(missing "${packages[@]}")
mapfile -t missing_lean < <(missing "${lean[@]}")
if [ ${#missing_packages[@]} -gt 0 ] || [ ${#missing_lean[@]} -gt 0 ]; then
  echo "installing: ${missing_packages[*]} ${missing_lean[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  if [ ${#missing_packages[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing_packages[@]}"
  fi
  if [ ${#missing_lean[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends \
      "${missing_lean[@]}"
  fi
fi
