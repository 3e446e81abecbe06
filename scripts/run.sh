#!/usr/bin/env bash
# Sets up what is missing, builds, and runs the screensaver under Wine.
#   scripts/run.sh [--two-monitors] [/t | /s | /c | /p HWND]     (default /t, the test window)
# Uses your X display when there is one. Without one it runs inside Xvfb for a few
# seconds, saves a screenshot and prints its path. --two-monitors runs it on a private
# desktop of two monitors (Xorg's dummy driver: 1024 x 768 and 800 x 600 right of it), which
# no one sees: always for a few seconds, with a screenshot of the whole desktop.
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$CIRRANE_ROOT/scripts/setup.sh" mingw-x64 >/dev/null

build="$CIRRANE_ROOT/build/mingw-x64"
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
two_monitors=""
[ "${1:-}" = --two-monitors ] && two_monitors=1 && shift
switch=("${@:-/t}")
. "$CIRRANE_ROOT/scripts/xsession.sh"

if [ -n "${DISPLAY:-}" ] && [ -z "$two_monitors" ]; then
  "$CIRRANE_ROOT/scripts/wine-prefix"
  exec wine "$build/cirrane.scr" "${switch[@]}"
fi

trap stop_session EXIT
if [ -n "$two_monitors" ]; then
  export WINEPREFIX="$build/wineprefix-2mon"   # Wine keeps one display per prefix
  start_two_monitors
else
  start_xvfb
fi
start_wineserver
wine "$build/cirrane.scr" "${switch[@]}" &
saver=$!
sleep "${CIRRANE_SHOT_AFTER:-6}"
shot="$build/screenshot${two_monitors:+-two-monitors}.png"
import -window root "$shot"
echo "$shot"
kill "$saver" 2>/dev/null || true
wait "$saver" 2>/dev/null || true
