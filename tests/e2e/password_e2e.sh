#!/usr/bin/env bash
# The Windows 9x password steps on copies of the real .scr that Wine tells they run on
# "win98", with the PASSWORD.CPL and MPR.DLL stand-ins in the prefix's system folder (they
# log their calls and answer as CIRRANE_STANDIN_ANSWERS says). With "ScreenSaveUsePassword"
# 1: a suspend does not end the saver; a click asks; after a rejection the scene is back,
# five moves are ignored and the sixth asks again; accepted, the saver ends. Without
# PASSWORD.CPL in the system folder (one planted beside the copy, with a planted d3d8.dll that
# Wine is told to prefer: neither is loaded, Wine's own Direct3D presents), or on the NT
# family (a copy Wine does not tell "win98"), nothing is loaded and a click ends at once.
# /a 4711 calls PwdChangePasswordA with "SCRSAVE" and 4711.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
standins="$build/tests/standins"
win98_password_desktop

# prepare <case> <exe name> <PASSWORD.CPL in the system folder: yes/no> <answers>: a folder
# with the copy.
prepare() {
  case=$1 exe=$2 dir="$work/$1"
  mkdir -p "$dir"
  cp "$scr" "$dir/$2"
  remove_system_standins
  [ "$3" = yes ] && system_standin "$standins/password.cpl" password.cpl
  [ "$3" = yes ] || [ -z "$(find "$system_folder" -maxdepth 1 -iname password.cpl)" ] ||
    fail "$case: a PASSWORD.CPL in the system folder"
  : >"$dir/password.log"
  export CIRRANE_STANDIN_DIR="Z:${dir//\//\\}" CIRRANE_STANDIN_ANSWERS="$4"
}
start_copy() {
  start_saver /s "${1:-}" "$dir/$exe"
  saver_window >/dev/null
  presenting
}
count() { grep -c "^$1" "$dir/password.log"; }
logged() { for i in $(seq 50); do [ "$(count "$1")" -ge 1 ] && return; sleep 0.2; done; return 1; }   # <entry>
move_to_new_place() { xdotool mousemove $((200 + 31 * $1)) $((150 + 17 * $1)); sleep 0.4; }

# ---- A password is set: suspend, reject, five moves, accept -------------------------
prepare password cirrane9x.scr yes 01
xdotool mousemove 640 512
start_copy
logged loaded || fail "$case: provider not loaded"
driver post "Cirrane ScreensaverWndClass" 0x218 4 0   # WM_POWERBROADCAST PBT_APMSUSPEND
sleep 1
alive && [ "$(count verify)" = 0 ] || fail "$case: the suspend notification ended the saver"
xdotool click 1
logged rejected && [ "$(count verify)" = 1 ] || fail "$case: a click did not ask"
alive || fail "$case: a rejected password ended the saver"
sleep 1
shot "$work/resumed.png"
brightness=$(convert "$work/resumed.png" -colorspace Gray -format '%[fx:mean]' info:)
echo "after the rejection the screen's mean brightness is $brightness"
at_least "$brightness" 0.1 || fail "$case: the scene did not come back"
for i in 1 2 3 4 5; do move_to_new_place $i; done
[ "$(count verify)" = 1 ] && alive || fail "$case: five moves after a rejection asked again"
move_to_new_place 6
logged accepted || fail "$case: the sixth move did not ask"
ends_with_0 15 "$case: an accepted password"
cat "$dir/password.log"

# ---- Components planted beside the copy, or not Windows 9x: a click ends at once --------
for setting in "planted cirrane9x.scr no" "ntfamily cirranent.scr yes"; do
  prepare $setting 1
  cp "$standins/password.cpl" "$standins/d3d8.dll" "$dir/"
  start_copy "d3d8=n,b"
  [ "$(count loaded)" = 0 ] || fail "$case: the provider was loaded"
  [ ! -e "$dir/d3d8.log" ] || fail "$case: the d3d8.dll beside the program was loaded"
  xdotool click 1
  ends_with_0 10 "$case: a click"
  [ "$(count verify)" = 0 ] || fail "$case: the password was asked"
  echo "$case: ok"
done

# ---- Password change -------------------------------------------------------------------
prepare change cirrane9x.scr no ""
system_standin "$standins/mpr.dll" mpr.dll
start_saver "/a 4711" "mpr=n" "$dir/$exe"
ends_with_0 20 "$case"
called=$(tr -d '\r' <"$dir/mpr.log" 2>/dev/null | grep PwdChangePasswordA)
echo "$called"
[ "$called" = 'PwdChangePasswordA SCRSAVE 4711 0 0' ] || fail "$case: PwdChangePasswordA not called as expected"
echo "ok"
