#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the unit and end-to-end tests under
# Wine (inside a private Xvfb and Wine server), then the native sanitizer and fuzz checks.
# Ends with ctest's summary line.
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$CIRRANE_ROOT/scripts/setup.sh"

build="$CIRRANE_ROOT/build/mingw-x64"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
. "$CIRRANE_ROOT/scripts/xsession.sh"
trap stop_session EXIT
start_xvfb
start_wineserver

status=0
if [ -x "$CIRRANE_ROOT/scripts/native-checks.sh" ]; then
  "$CIRRANE_ROOT/scripts/native-checks.sh" || status=$?
fi
cd "$CIRRANE_ROOT"
ctest --preset mingw-x64 "$@" || status=$?
exit $status
