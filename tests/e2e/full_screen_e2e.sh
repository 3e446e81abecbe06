#!/usr/bin/env bash
# /s: the scene covers the whole screen in a topmost window with the cursor hidden; five
# real mouse moves do not end it, the sixth does, and so does another program's WM_CLOSE,
# within two seconds. Without Direct3D 8 a 300 x 150 box in the window colour, framed black,
# with string 2101 centred in it, moves over a black screen, and a key press ends the saver.
# Exit code 0 every time.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }')

xdotool mousemove 20 20
sleep 0.5
start_saver /s
saver_window
[ "$win_x $win_y $win_w $win_h" = "0 0 $screen_w $screen_h" ] || fail "window does not cover the screen"
[ "$topmost" = 1 ] || fail "window is not topmost"
presenting
[ "$(driver cursor)" = "cursor: hidden" ] || fail "cursor shown"
shot "$work/screen.png"
sixth_move_ends 100 80 50 40 1 ""
check_scene "$work/screen.png"   # once the saver no longer takes the processor

start_saver /s
saver_window >/dev/null
presenting
driver post "Cirrane ScreensaverWndClass" 0x10 0 0
ends_with_0 2 "WM_CLOSE"

# Everything but the box is black, so the bounding box of what is not black is the box
# inside its black frame.
box_at() { convert "$1" -format '%@' info:; }
driver box "$scr" 2101 "$work/reference.bmp" >/dev/null || fail "no reference box"
convert "$work/reference.bmp" -crop 298x148+1+1 +repage "$work/inside.png"
start_saver /s d3d8=
saver_window
sleep 2
shot "$work/one.png"
sleep 1
shot "$work/two.png"
first=$(box_at "$work/one.png")
second=$(box_at "$work/two.png")
echo "box inside its frame: $first, then $second"
[ "${first%%+*}" = 298x148 ] && [ "${second%%+*}" = 298x148 ] || fail "not one 300 x 150 box on black"
[ "$first" != "$second" ] || fail "the box does not move"
convert "$work/two.png" -crop "$second" +repage "$work/seen.png"
wrong=$(differing "$work/seen.png" "$work/inside.png")
echo "pixels unlike the reference box: $wrong"
[ "$wrong" = 0 ] || fail "the box does not show string 2101 as painted"
xdotool key space
ends_with_0 20 "key press"
echo "ok"
