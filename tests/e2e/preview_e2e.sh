#!/usr/bin/env bash
# /p <host>: the saver's child fills the host's client area and a windowed device presents
# frames into it (no error display); input over it changes nothing; closing the host ends
# the saver with exit code 0. (Wine 8 shows nothing that one process renders into a child
# of another process's window: the picture is the test window's check.) A handle that
# names no window ends the saver within two seconds (beyond a bare Wine start).
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
trap 'driver post "Preview host" 0x10 0 0; cleanup' EXIT   # WM_CLOSE
hosted() { tr -d '\r' <"$work/host.txt" | grep "^$1"; }

wine "$build/tests/e2e/e2e_driver.exe" host </dev/null >"$work/host.txt" 2>/dev/null &
for i in $(seq 100); do hosted host: >/dev/null && break; sleep 0.1; done
read -r _ handle < <(hosted host:) || fail "no host window"
start_saver "/p $handle"
for i in $(seq 100); do hosted child: >/dev/null && break; sleep 0.1; done
read -r _ x y w h _ fills < <(hosted child:) || fail "no child window in the host"
[ "$fills" = 1 ] || fail "child does not fill the host's client area"
presenting   # past the preview's start-up wait
alive || fail "the preview ended at start-up"
for i in 1 2 3 4 5 6 7; do xdotool mousemove $((x + 15 * i)) $((y + 10 * i)); sleep 0.2; done
xdotool click 1 click 3 key a
sleep 1
alive || fail "input ended the preview"
driver post "Preview host" 0x10 0 0
ends_with_0 15 "closing the host"
frames=$(grep -c fps "$work/frames")
echo "fps reports of the preview: $frames"
[ "$frames" -ge 3 ] || fail "no windowed device presenting frames"

# A handle that names no window: nothing could ever end the saving phase, so it ends at
# once, within two seconds of what starting any Wine program takes here and now.
milliseconds() { echo $(( $(date +%s%N) / 1000000 )); }
start=$(milliseconds); wine cmd.exe /c exit </dev/null >/dev/null 2>&1
floor=$(( $(milliseconds) - start ))
start=$(milliseconds)
start_saver "/p 12345"
ends_with_0 30 "/p with no such window"
elapsed=$(( $(milliseconds) - start ))
echo "/p 12345 ended in $elapsed ms (a bare Wine start: $floor ms)"
[ "$elapsed" -lt $((floor + 2000)) ] || fail "/p with no such window did not end at once"
echo "ok"
