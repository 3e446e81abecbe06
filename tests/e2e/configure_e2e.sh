#!/usr/bin/env bash
# /c: without Direct3D 8, the message box of string 2101 with the program's title as caption
# instead of the options dialog. With it, the options dialog, whose "Display Settings..."
# button, clicked with real input, opens the display settings dialog; OK stores the display
# settings too. Exit code 0 once dismissed, both times.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
key='HKCU\Software\Orvane\Cirrane'
wine reg delete "$key" /f >/dev/null 2>&1

start_saver /c d3d8=
seen=$(driver find "Cirrane Screensaver" 30)
echo "$seen"
press "Cirrane Screensaver" 1
grep -qx 'class: #32770' <<<"$seen" || fail "no message box"
grep -qx 'text: Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX.' \
  <<<"$seen" || fail "message text differs"
ends_with_0 20 "message box"

# On failure, close what the saver still shows so that it ends with the test.
trap 'press "Display Settings" 2; press Cirrane 2; cleanup' EXIT
start_saver /c
read -r _ _ x y < <(driver find Cirrane 30 1006 | grep '^control') || fail "options dialog not shown"
xdotool mousemove "$x" "$y" click 1
seen=$(driver find "Display Settings" 20)
echo "$seen"
grep -q '^text: The screen saver can use' <<<"$seen" || fail "display settings dialog not shown"
press "Display Settings" 2
sleep 1
press Cirrane 1
ends_with_0 20 "options dialog"
trap cleanup EXIT
wine reg query "$key" /v ScreensSame >/dev/null 2>&1 || fail "display settings not stored"
echo "ok"
