#!/usr/bin/env bash
# /t: the animated scene in a captioned window with a 600 x 400 client area at 50, 50; keys,
# clicks and mouse moves change nothing; closing the window ends the saver with exit code 0.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"

start_saver /t
saver_window
[ "$client_x $client_y $client_w $client_h" = "50 50 600 400" ] || fail "client area not 600 x 400 at 50, 50"
presenting
shot "$work/a.png" "600x400+$client_x+$client_y"
sleep 1
shot "$work/b.png" "600x400+$client_x+$client_y"
for i in 1 2 3 4 5 6 7; do xdotool mousemove $((client_x + 40 * i)) $((client_y + 30 * i)); sleep 0.2; done
xdotool click 1 key a key Escape
sleep 1.5
alive || fail "input ended the test window"
driver post "Cirrane ScreensaverWndClass" 0x112 0xF060 0   # WM_SYSCOMMAND SC_CLOSE
ends_with_0 30 "closing"

# The pictures are looked at once the saver no longer takes the processor.
changed=$(differing "$work/a.png" "$work/b.png")
echo "pixels changed in a second: $changed"
at_least "$changed" 24000 || fail "the picture does not move"
check_scene "$work/b.png"
echo "ok"
