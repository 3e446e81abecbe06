#!/usr/bin/env bash
# /p <host>: the saver's child fills the host's client area and a windowed device presents
# frames into it (no error display); input over it changes nothing; destroying the host
# ends the saver with exit code 0. Wine 8 shows nothing that one process renders into a
# child of another process's window, so the preview's pixels are checked with the same
# preview run inside the driver's own process, from its device's back buffer.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
. "$(dirname "$0")/saver_checks.sh"
host="$build/tests/e2e/preview_host_driver.exe"

# Wine's fps channel counts the frames the saver presents (the driver presents none).
WINEDEBUG=fps wine "$host" scr "$scr" 6 </dev/null >"$work/host.txt" 2>"$work/fps.txt" &
saver=$!
for i in $(seq 150); do grep -q '^alive after start-up' "$work/host.txt" && break; sleep 0.1; done
read -r _ x y w h < <(grep '^client:' "$work/host.txt" | tr -d '\r')
# Real input over the preview, while the host is still up.
for i in 1 2 3 4 5 6 7; do xdotool mousemove $((x + 15 * i)) $((y + 10 * i)); sleep 0.2; done
xdotool click 1 click 3 key a
wait_exit "$saver" 60
saver=""
tr -d '\r' <"$work/host.txt" >"$work/host.clean" && mv "$work/host.clean" "$work/host.txt"
cat "$work/host.txt"
frames=$(grep -c 'fps' "$work/fps.txt")
echo "fps reports of the preview: $frames"
grep -qx 'child: 1' "$work/host.txt" || fail "no child window in the host"
grep -qx 'fills: 1' "$work/host.txt" || fail "child does not fill the host's client area"
grep -qx 'alive after start-up: 1' "$work/host.txt" || fail "the preview ended at start-up"
grep -qx 'alive before destroy: 1' "$work/host.txt" || fail "the preview ended early"
grep -qx 'exit: 0' "$work/host.txt" || fail "the preview did not end with its host"
[ "$frames" -ge 3 ] || fail "no windowed device presenting frames"

wine "$host" inproc 4 "$work/preview.bmp" </dev/null 2>/dev/null | tr -d '\r' >"$work/inproc.txt"
cat "$work/inproc.txt"
grep -qx 'error: 0' "$work/inproc.txt" || fail "the preview shows the error display"
grep -qx 'captured: 1' "$work/inproc.txt" || fail "no picture of the preview"
check_scene "$work/preview.bmp"

# A handle that names no window: nothing could ever end the saving phase, so it ends at
# once, within two seconds of what starting any Wine program takes here and now.
start=$(date +%s%N); wine cmd.exe /c exit </dev/null >/dev/null 2>&1
floor=$(( ($(date +%s%N) - start) / 1000000 ))
start=$(date +%s%N)
wine "$scr" /p 12345 </dev/null >/dev/null 2>&1 &
wait_exit $! 30
elapsed=$(( ($(date +%s%N) - start) / 1000000 ))
echo "/p 12345 ended in $elapsed ms with $exit_code (a bare Wine start: $floor ms)"
[ "$exit_code" = 0 ] && [ "$elapsed" -lt $((floor + 2000)) ] || fail "/p with no such window did not end at once"
echo "ok"
