#!/usr/bin/env bash
# The display settings of each monitor, on two monitors (1024 x 768 and 800 x 600 right of
# it), each run of /s ended by a key with exit code 0 and the desktop's modes back after it:
# - "Leave Black" for "System 2": the second monitor stays black, the first shows the scene;
# - a stored 640 x 480 for the second monitor switches that output to it for the run, the
#   first keeps its mode, and the second monitor's window covers it at that size;
# - a stored mode the adapter does not offer: the automatic mode (the desktop's), nothing is
#   written; a listed mode that cannot be set: a lower mode is used and written to
#   "System 2" with the adapter's identifier, and nothing to "System 1";
# - /c, Display Settings: a tab per monitor; "Display nothing" chosen on the second tab and
#   800 x 600 on the first, with real clicks and keys, land in "System 2" and "System 1",
#   and the next /s honours both.
# The pictures of the first two runs are kept in <build>/two_monitors.
set -uo pipefail
. "$(dirname "$0")/two_monitors.sh"

# run_saver <monitors during the run>: /s until it presents; the monitors' modes and the
# windows over them checked.
run_saver() {
  start_saver /s
  presenting 1
  wait_monitors 10 "$1"
  covered
}
# pictures <name>: a screenshot, and each monitor's part of it as <name>-1 and <name>-2.
pictures() {
  shot "$work/$1.ppm"
  for n in 1 2; do monitor "$work/$1.ppm" $n "$work/$1-$n.ppm"; done
}
# end_saver: a key ends the saver; the desktop's modes come back.
end_saver() {
  xdotool key space
  ends_with_0 20 "key press"
  wait_monitors 10 "$desktop"
}

no_settings
setting 2 "Leave Black" 1
run_saver "$desktop"
pictures black
end_saver
check_scene "$work/black-1.ppm"
check_black "$work/black-2.ppm" "the second monitor"
keep "$work/black.ppm" leave_black

no_settings
setting 2 Width 640 && setting 2 Height 480 && setting 2 Format 22
run_saver "DUMMY0 0 0 1024 768
DUMMY1 1024 0 640 480"
presenting 2
pictures mode
end_saver
check_sky "$work/mode-2.ppm" "the second monitor at 640 x 480"
keep "$work/mode.ppm" mode_640x480

no_settings
setting 2 Width 1000 && setting 2 Height 700 && setting 2 Format 22
run_saver "$desktop"
end_saver
[ "$(value "System 2" Width)" = 0x3e8 ] && [ -z "$(value "System 2" "Adapter ID")" ] ||
  fail "a mode not offered was replaced in the registry"

no_settings
xrandr --delmode DUMMY1 960x720   # Wine still lists it
setting 2 Width 960 && setting 2 Height 720 && setting 2 Format 22
start_saver /s
presenting 1
read -r _ _ _ width height < <(monitors | grep DUMMY1)
echo "960 x 720 could not be set; the second monitor ran at $width x $height"
[ "$width x $height" != "960 x 720" ] || fail "a mode the X server no longer has was set"
end_saver
identifier=$(driver adapters | awk '$2 == 1 { print $7 }')
stored="$(($(value "System 2" Width))) $(($(value "System 2" Height))) $(($(value "System 2" Format)))"
echo "stored for the second monitor: $stored, adapter $(value "System 2" "Adapter ID")"
[ "$stored" = "$width $height 22" ] && [ "$(value "System 2" "Adapter ID")" = "$identifier" ] ||
  fail "the fallback mode is not stored with the adapter's identifier"
[ -z "$(value "System 1" Width)" ] || fail "the first monitor's settings were written"

no_settings
trap 'press "Display Settings" 2; press Cirrane 2; stop_all' EXIT
start_saver /c
read -r _ _ x y < <(driver find Cirrane 30 1006 | grep '^control') || fail "options dialog not shown"
xdotool mousemove "$x" "$y" click 1
page=$(driver find "Display Settings" 20 2000 2008 2011)
read -r _ _ tabs tab_x tab_y < <(grep '^tabs' <<<"$page")
[ "$tabs" = 2 ] || fail "$tabs tabs instead of one per monitor"
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
at() { grep "^control $1 " <<<"$page" | cut -d' ' -f3-; }
click $((tab_x + 20)) $((tab_y + 10))   # the first tab, which takes the focus
xdotool key Right; sleep 0.5            # the second tab
click $(at 2008)                        # "Display nothing on this monitor"
click $((tab_x + 20)) $((tab_y + 10))   # back to the first tab
entry=$(grep -m 1 '^item 2011 [0-9]* 800 by 600, 32 bit color$' <<<"$page" | cut -d' ' -f3)
[ -n "$entry" ] || fail "800 x 600 is not offered for the first monitor"
click $(at 2011)                        # drops the list down
xdotool key Home; xdotool key --repeat "$entry" Down; xdotool key Return; sleep 0.5
press "Display Settings" 1
sleep 1
press Cirrane 1
ends_with_0 20 "options dialog"
trap stop_all EXIT
echo "stored: System 1 $(($(value "System 1" Width))) x $(($(value "System 1" Height))) format" \
  "$(($(value "System 1" Format))), black $(value "System 1" "Leave Black"); System 2 black" \
  "$(value "System 2" "Leave Black")"
[ "$(value "System 1" Width) $(value "System 1" Height) $(value "System 1" Format)" = "0x320 0x258 0x16" ] &&
  [ "$(value "System 1" "Leave Black")" = 0x0 ] && [ "$(value "System 2" "Leave Black")" = 0x1 ] ||
  fail "the choices did not land in their monitors' keys"
run_saver "DUMMY0 0 0 800 600
DUMMY1 800 0 800 600"
pictures chosen
end_saver
check_scene "$work/chosen-1.ppm"
check_black "$work/chosen-2.ppm" "the second monitor"
echo "ok"
