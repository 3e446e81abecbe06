#!/usr/bin/env bash
# Configuration mode on the real .scr: /c shows the options dialog (screenshot saved to
# the build directory); real mouse and keyboard input picks "Circular" and the fastest
# cloud speed; the "Display Settings..." button opens the display settings dialog; OK
# stores the new values and the display settings in the registry and the process exits 0.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"

key='HKCU\Software\Orvane\Cirrane'
wine reg delete "$key" /f >/dev/null 2>&1
shot="$build/options_dialog.png"
rm -f "$shot"

wine "$scr" /c &
saver=$!
# On failure, close whatever the saver still shows so that it ends with the test.
cleanup() {
  for caption in "Display Settings" "Cirrane Screensaver" Cirrane; do
    wine "$build/tests/e2e/find_window_driver.exe" "$caption" 0 press 2 >/dev/null 2>&1
  done
  wait_exit "$saver" 10
}
trap cleanup EXIT
centres=$(wine "$build/tests/e2e/control_centres_driver.exe" Cirrane 30 1007 1022 1006 1 | tr -d '\r')
echo "$centres"
[ "$(grep -cE '^[0-9]+ [0-9]+ [0-9]+$' <<<"$centres")" = 4 ] || fail "options dialog not shown"
at() { awk -v id="$1" '$1 == id { print $2, $3 }' <<<"$centres"; }
import -window root "$shot" || fail "no screenshot"
echo "screenshot: $shot"

# Camera path: open the list, go to its last entry and take it. Speed: the slider's end.
xdotool mousemove $(at 1007) click 1; sleep 0.5
xdotool key End; sleep 0.2; xdotool key Return; sleep 0.3
xdotool mousemove $(at 1022) click 1; sleep 0.3
xdotool key End; sleep 0.3

xdotool mousemove $(at 1006) click 1
seen=$(wine "$build/tests/e2e/find_window_driver.exe" "Display Settings" 20 press 2 | tr -d '\r')
echo "$seen"
grep -q '^text: The screen saver can use' <<<"$seen" || fail "display settings dialog not shown"
sleep 2.5   # the dialog is gone once Wine has hidden it

xdotool mousemove $(at 1) click 1
wait_exit "$saver" 20
trap - EXIT
[ "$exit_code" = 0 ] || fail "exit code $exit_code"

stored() { wine reg query "$key" /v "$1" 2>/dev/null | tr -d '\r' | awk -v n="$1" '$0 ~ n { print $NF }'; }
echo "Cam View $(stored 'Cam View'), Sky Speed $(stored 'Sky Speed'), Cube View $(stored 'Cube View')"
[ "$(stored 'Cam View')" = 0x2 ] || fail "camera path not stored"
[ "$(stored 'Sky Speed')" = 0x9 ] || fail "speed not stored"
[ "$(stored 'Cube View')" = 0x0 ] || fail "cube animation not stored"
[ "$(stored 'ScreensSame')" = 0x0 ] || fail "display settings not stored"
wine reg query "$key\System 1" /v "Leave Black" >/dev/null 2>&1 || fail "first monitor's settings not stored"
echo "ok"
