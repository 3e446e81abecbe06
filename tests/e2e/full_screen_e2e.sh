#!/usr/bin/env bash
# /s: the scene covers the whole screen in a topmost window with the cursor hidden; five
# real mouse moves do not end it, the sixth does; a key press ends it. Exit code 0.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
. "$(dirname "$0")/saver_checks.sh"
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')

# Moves of the pointer to new places, a while apart so that none is merged with another.
move_to() { xdotool mousemove "$1" "$2"; sleep 1; }

xdotool mousemove 20 20
sleep 0.5
start_saver /s
saver_window
[ "$win_x $win_y $win_w $win_h" = "0 0 $screen_w $screen_h" ] || fail "window does not cover the screen"
[ "$topmost" = 1 ] || fail "window is not topmost"
sleep 3
cursor=$(wine "$driver" cursor | tr -d '\r')
echo "$cursor"
[ "$cursor" = "cursor: hidden" ] || fail "cursor shown"
shot "$work/screen.png"
check_scene "$work/screen.png"

for i in 1 2 3 4 5; do
  move_to $((100 + 50 * i)) $((80 + 40 * i))
  alive || fail "ended by move $i"
done
move_to 600 500
wait_exit "$saver" 20
saver=""
[ "$exit_code" = 0 ] || fail "sixth move: exit code $exit_code"
echo "sixth move ended it"

start_saver /s
saver_window >/dev/null
sleep 2
alive || fail "second run ended by itself"
xdotool key space
wait_exit "$saver" 20
saver=""
[ "$exit_code" = 0 ] || fail "key press: exit code $exit_code"
echo "ok"
