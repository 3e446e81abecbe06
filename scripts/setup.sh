#!/usr/bin/env bash
# Installs what building, packaging and testing Cirrane needs on Debian, then configures and
# builds the 64-bit and the 32-bit Windows build.
#   scripts/setup.sh                  packages, then both builds
#   scripts/setup.sh mingw-x64        packages, then only the named build(s)
#   scripts/setup.sh --no-build       packages only
# Idempotent: packages already present are not fetched again, and an existing build
# directory is reused. Works as root on a fresh machine (uses sudo otherwise).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"

# Named explicitly where a test needs what is only a recommendation: Mesa's software
# rasterizer (Direct3D under Xvfb, for 64- and 32-bit Wine), Wine's fonts, and clang's
# sanitizer and fuzzer runtimes. The 32-bit build runs on Wine's 32-bit half (wine32:i386),
# which the 64-bit prefix also needs for the installer, a 32-bit program. Xorg with the dummy
# driver and xrandr make the two-monitor desktop. zlib compresses the PNG pictures, on the
# build machine (the art generator) and for Windows (the still renderer).
packages=(mingw-w64 wine wine64 wine32:i386 fonts-wine libgl1-mesa-dri mesa-vulkan-drivers
          libgl1:i386 libgl1-mesa-dri:i386 xvfb x11-utils ninja-build cmake g++ googletest
          imagemagick xdotool libwine-dev clang libclang-rt-14-dev util-linux nsis
          xserver-xorg-core xserver-xorg-video-dummy x11-xserver-utils
          zlib1g-dev libz-mingw-w64-dev)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  echo "setup: adding the i386 architecture" >&2
  $sudo dpkg --add-architecture i386
  fresh_architecture=1
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ] || [ -n "${fresh_architecture:-}" ]; then
  echo "setup: installing ${missing[*]}" >&2
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

[ "${1:-}" = "--no-build" ] && exit 0
presets=(mingw-x64 mingw-x86)
[ $# -gt 0 ] && presets=("$@")
cd "$root"
for preset in "${presets[@]}"; do
  [ -f "build/$preset/build.ninja" ] || cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)"
done
