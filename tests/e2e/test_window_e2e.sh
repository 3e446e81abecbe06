#!/usr/bin/env bash
# /t: the animated scene in a captioned window with a 600 x 400 client area at 50, 50; keys,
# clicks and mouse moves change nothing; minimised, it draws nothing and the processor rests
# (under 5% of one core), and restored it draws again; closing the window ends the saver
# with exit code 0.
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

# Wine starts a .scr through start.exe: the saver's own process is the one of this prefix
# whose command line names the .scr.
saver_process() {
  local p
  for p in $(pgrep -f 'cirrane\.scr /t'); do
    tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$p" && return
  done
}
process=$(saver_process)
[ -n "$process" ] || fail "the saver's process is not to be found"
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$process/stat"; }
frame_reports() { grep -c fps "$work/frames"; }
driver post "Cirrane ScreensaverWndClass" 0x112 0xF020 0   # SC_MINIMIZE
sleep 1.5
frames=$(frame_reports) ticks=$(cpu_ticks)
sleep 5
frames_after=$(frame_reports) ticks_after=$(cpu_ticks)
percent=$(awk -v t=$((ticks_after - ticks)) -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.1f", t * 100 / (5 * hz) }')
echo "minimised for 5 s: $((frames_after - frames)) frame reports, $percent% of one core"
[ "$frames_after" = "$frames" ] || fail "frames presented while minimised"
at_least 5 "$percent" || fail "minimised, the saver still takes $percent% of a core"
driver post "Cirrane ScreensaverWndClass" 0x112 0xF120 0   # SC_RESTORE
sleep 2.5
[ "$(frame_reports)" -gt "$frames_after" ] || fail "no frames after the restore"
driver post "Cirrane ScreensaverWndClass" 0x112 0xF060 0   # WM_SYSCOMMAND SC_CLOSE
ends_with_0 30 "closing"

# The pictures are looked at once the saver no longer takes the processor.
changed=$(differing "$work/a.png" "$work/b.png")
echo "pixels changed in a second: $changed"
at_least "$changed" 24000 || fail "the picture does not move"
check_scene "$work/b.png"
echo "ok"
