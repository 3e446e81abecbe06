#!/usr/bin/env bash
# Makes what a Windows user downloads: dist/cirrane-<version>-setup.exe and, for installing
# by hand, dist/x64/cirrane.scr and dist/x86/cirrane.scr (stripped of debugging symbols).
# Sets up what is missing and builds the .scr of both builds first; prints the installer's path.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh" --no-build
cd "$root"
for arch in x64 x86; do
  [ -f "build/mingw-$arch/build.ninja" ] || cmake --preset "mingw-$arch" >/dev/null
  cmake --build --preset "mingw-$arch" --target cirrane >/dev/null
done

version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' build/mingw-x64/cirrane_version.nsh)
mkdir -p dist/x64 dist/x86
rm -f dist/cirrane-*-setup.exe
x86_64-w64-mingw32-strip -o dist/x64/cirrane.scr build/mingw-x64/cirrane.scr
i686-w64-mingw32-strip -o dist/x86/cirrane.scr build/mingw-x86/cirrane.scr
makensis -V2 -DBUILD="$root/build/mingw-x64" -DDIST="$root/dist" -DROOT="$root" \
  installer/cirrane.nsi
echo "$root/dist/cirrane-$version-setup.exe"
