#!/usr/bin/env bash
# Installs what building and testing Cirrane needs on Debian, then configures and builds.
# Idempotent: packages already present are not fetched again, and an existing build
# directory is reused. Works as root on a fresh machine (uses sudo otherwise).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# Named explicitly where a test needs what is only a recommendation: Mesa's software
# rasterizer (Direct3D under Xvfb), Wine's fonts, and clang's sanitizer and fuzzer runtimes.
packages=(mingw-w64 wine wine64 fonts-wine libgl1-mesa-dri mesa-vulkan-drivers xvfb x11-utils
          ninja-build cmake g++ googletest imagemagick xdotool libwine-dev clang
          libclang-rt-14-dev util-linux)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cd "$root"
[ -f build/mingw-x64/build.ninja ] || cmake --preset mingw-x64 >/dev/null
cmake --build --preset mingw-x64 -j"$(nproc)"
