#!/usr/bin/env bash
# /s without Direct3D 8: a 300 x 150 box in the window colour, framed black, with string
# 2101 centred in it, moves over a black screen; a key press ends the saver with exit 0.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
. "$(dirname "$0")/saver_checks.sh"

# Everything but the box is black, so the bounding box of what is not black is the box
# inside its black frame.
box_at() { convert "$1" -format '%@' info:; }

wine "$driver" reference "$scr" 2101 "$work/reference.bmp" || fail "no reference box"
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

xdotool key Return
wait_exit "$saver" 20
saver=""
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "ok"
