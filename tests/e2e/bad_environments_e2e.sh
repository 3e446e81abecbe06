#!/usr/bin/env bash
# Machines the saver was not set up for, each on an X screen of this script's own (Xvfb),
# each run ending with exit code 0:
# - a 640 x 480 screen, smaller than the test window: /t keeps its window at 50, 50 and
#   draws the scene in the part on the screen; /s covers the screen, with display settings
#   stored for nine monitors, the first one's in a mode this screen does not offer: the
#   automatic mode is used and the settings are neither applied nor changed;
# - a screen with only 16-bit modes, with the first monitor's settings stored for another
#   adapter ("Disable Hardware" among them): they are not applied, /s falls back from the
#   32-bit mode to the 16-bit one of the desktop's size and remembers it for this adapter;
#   /t draws the scene too.
set -uo pipefail
CIRRANE_ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$CIRRANE_ROOT/scripts/xsession.sh"
# Wine keeps one display per prefix: the prefix of the runs with an X server of their own
# (two_monitors.sh).
export WINEPREFIX="$(cd "$1" && pwd)/wineprefix-2mon"
screen() { stop_session; start_xvfb "$1" && start_wineserver; }
screen 640x480x24
. "$(dirname "$0")/e2e_common.sh"
key='HKCU\Software\Orvane\Cirrane'
trap 'cleanup; wine reg delete "$key" /f >/dev/null 2>&1; stop_session' EXIT

# settings <lines>: the display settings key holds exactly these REGEDIT4 lines.
settings() {
  wine reg delete "$key" /f >/dev/null 2>&1
  printf 'REGEDIT4\n\n%b\n' "$1" >"$work/settings.reg"
  wine regedit /s "$(winepath -w "$work/settings.reg")" >/dev/null 2>&1 </dev/null
}
stored() {   # the settings key as text
  wine reg export "$key" "$(winepath -w "$work/export.reg")" /y >/dev/null 2>&1 </dev/null
  iconv -f UTF-16 -t UTF-8 "$work/export.reg" | tr -d '\r'
}
# run <switch> <what> [colours]: the saver shows the scene in the part of its window on the
# screen, then ends as its user would end it.
run() {
  start_saver "$1"
  saver_window >/dev/null
  presenting
  local w=$((client_x + client_w > screen_w ? screen_w - client_x : client_w))
  local h=$((client_y + client_h > screen_h ? screen_h - client_y : client_h))
  shot "$work/shot.ppm" "${w}x${h}+$client_x+$client_y"
  if [ "$1" = /t ]; then driver post "Cirrane ScreensaverWndClass" 0x112 0xF060 0; else xdotool key space; fi
  ends_with_0 20 "$2"
  echo "$2: the window at $client_x, $client_y, ${client_w} x ${client_h}, seen ${w} x ${h}"
  check_scene "$work/shot.ppm" "${3:-5000}"
}
screen_size() { read -r screen_w screen_h < <(xdpyinfo | awk '/dimensions:/ { split($2, s, "x"); print s[1], s[2] }'); }

# ---- 640 x 480 --------------------------------------------------------------------------
screen_size
xdotool mousemove 20 20
run /t "640 x 480, /t"
[ "$client_x $client_y $client_w $client_h" = "50 50 600 400" ] || fail "the test window was moved or resized"
nine=""
for n in 2 3 4 5 6 7 8 9; do
  nine+="\n[HKEY_CURRENT_USER\\\\Software\\\\Orvane\\\\Cirrane\\\\System $n]\n\"Leave Black\"=dword:00000001\n"
done
settings "[HKEY_CURRENT_USER\\\\Software\\\\Orvane\\\\Cirrane\\\\System 1]
\"Width\"=dword:00000500\n\"Height\"=dword:00000400\n\"Format\"=dword:00000016\n$nine"
stored >"$work/before"
run /s "640 x 480, /s, settings for nine monitors"
[ "$client_w x $client_h" = "640 x 480" ] || fail "the screen is not covered"
diff "$work/before" <(stored) || fail "the display settings were changed"

# ---- Only 16-bit modes ------------------------------------------------------------------
screen 1024x768x16
screen_size
own_id=$(driver adapters | awk '$1 == "adapter" && $2 == 0 { print tolower($7) }')
settings "[HKEY_CURRENT_USER\\\\Software\\\\Orvane\\\\Cirrane\\\\System 1]
\"Adapter ID\"=hex:$(printf '11,%.0s' $(seq 15))11\n\"Disable Hardware\"=dword:00000001
\"Width\"=dword:00000280\n\"Height\"=dword:000001e0\n\"Format\"=dword:00000017"
run /s "16-bit, /s, settings of another adapter" 1000   # 16 bits: fewer colours
stored >"$work/after"
grep -A6 'System 1]' "$work/after"
[ "$(grep -c -x -e '"Width"=dword:00000400' -e '"Height"=dword:00000300' -e '"Format"=dword:00000017' "$work/after")" = 3 ] ||
  fail "the 16-bit mode of the desktop's size was not remembered"
[ "$(tr -d ',\\\n ' <"$work/after" | grep -oi 'hex:[0-9a-f]*' | cut -c5-)" = "$own_id" ] ||
  fail "the mode was not remembered for this adapter"
run /t "16-bit, /t" 1000
echo "ok"
