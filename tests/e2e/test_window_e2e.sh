#!/usr/bin/env bash
# /t: the animated scene in a captioned window with a 600 x 400 client area; keys, clicks
# and mouse moves change nothing; closing the window ends the saver with exit code 0.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
. "$(dirname "$0")/saver_checks.sh"

start_saver /t
saver_window
[ "$client_w $client_h" = "600 400" ] || fail "client area ${client_w}x$client_h"
sleep 3
area="600x400+$client_x+$client_y"
shot "$work/a.png" "$area"
sleep 1
shot "$work/b.png" "$area"
changed=$(differing "$work/a.png" "$work/b.png")
echo "pixels changed in a second: $changed"
at_least "$changed" 24000 || fail "the picture does not move"
check_scene "$work/b.png"

# Input over the test window does not end it.
for i in 1 2 3 4 5 6 7; do xdotool mousemove $((client_x + 40 * i)) $((client_y + 30 * i)); sleep 0.2; done
xdotool click 1 key a key Escape
sleep 1.5
alive || fail "input ended the test window"

wine "$driver" close >/dev/null
wait_exit "$saver" 30
saver=""
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing"
echo "ok"
