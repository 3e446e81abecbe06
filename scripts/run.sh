#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the screensaver under Wine.
#   scripts/run.sh [/t | /s | /c | /p HWND]     (default /t, the test window)
# Uses your X display when there is one. Without one it runs inside Xvfb for a few
# seconds, saves a screenshot and prints its path.
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$CIRRANE_ROOT/scripts/setup.sh" mingw-x64 >/dev/null

build="$CIRRANE_ROOT/build/mingw-x64"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
switch=("${@:-/t}")
. "$CIRRANE_ROOT/scripts/xsession.sh"

if [ -n "${DISPLAY:-}" ]; then
  "$CIRRANE_ROOT/scripts/wine-prefix"
  exec wine "$build/cirrane.scr" "${switch[@]}"
fi

trap stop_session EXIT
start_xvfb
start_wineserver
wine "$build/cirrane.scr" "${switch[@]}" &
saver=$!
sleep "${CIRRANE_SHOT_AFTER:-6}"
shot="$build/screenshot.png"
import -window root "$shot"
echo "$shot"
kill "$saver" 2>/dev/null || true
wait "$saver" 2>/dev/null || true
