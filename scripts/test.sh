#!/usr/bin/env bash
# Sets up what is missing, builds both Windows builds and the installer, and runs every test:
# both .scr files held to the Windows they are built for, the native sanitizer and fuzz
# checks, then, inside a private Xvfb, every unit and end-to-end test of the 64-bit build in
# its 64-bit Wine prefix, and the tests labelled x86 (unit tests, test window, full screen,
# installer) of the 32-bit build in its 32-bit prefix.
# Arguments go to both ctest runs (scripts/test.sh -R install). Ends with ctest's summaries.
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$CIRRANE_ROOT/scripts/setup.sh" --no-build
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$CIRRANE_ROOT/scripts/xsession.sh"   # after the packages: it chooses Wine's loader
trap stop_session EXIT
# Where no 32-bit program runs, the 32-bit tests are not built either: of that build only the
# .scr is needed, for its checks and the installer, and package.sh makes it.
presets=(mingw-x64 mingw-x86)
[ "$CIRRANE_RUNS_32BIT" = 0 ] && presets=(mingw-x64)
"$CIRRANE_ROOT/scripts/setup.sh" "${presets[@]}"
"$CIRRANE_ROOT/scripts/package.sh" >/dev/null

start_xvfb

status=0
"$CIRRANE_ROOT/scripts/check-binaries.sh" || status=$?
if [ -x "$CIRRANE_ROOT/scripts/native-checks.sh" ]; then
  "$CIRRANE_ROOT/scripts/native-checks.sh" || status=$?
fi
cd "$CIRRANE_ROOT"
for arch in x64 x86; do
  export CIRRANE_BUILD_DIR="$CIRRANE_ROOT/build/mingw-$arch"
  export WINEPREFIX="$CIRRANE_BUILD_DIR/wineprefix"
  no_tests=()
  if [ $arch = x86 ]; then
    if [ "$CIRRANE_RUNS_32BIT" = 0 ]; then
      echo "test: this machine runs no 32-bit program (its kernel has no IA-32 emulation):" \
        "the x86 entries are skipped" >&2
      continue
    fi
    export WINEARCH=win32
    [ $# -gt 0 ] && no_tests=(--no-tests=ignore)   # a selection may name no x86 test
  fi
  start_wineserver
  ctest --preset "mingw-$arch" "${no_tests[@]}" "$@" || status=$?
  stop_wineserver
done
exit $status
