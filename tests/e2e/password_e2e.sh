#!/usr/bin/env bash
# The Windows 9x password steps on the real .scr. Copies of it run with the Windows
# version Wine reports set to "win98" (HKCU\Software\Wine\AppDefaults\<name>\Version),
# beside the test suite's PASSWORD.CPL and MPR.DLL stand-ins, which log their calls and
# answer as the file "answers" says. Cases:
#   - "ScreenSaveUsePassword" 1: the provider is loaded; a suspend notification does not
#     end the saver; a click asks; after a rejected password the scene is back on the
#     screen (password_resumed.png in the build directory) and five further mouse moves
#     are ignored; the sixth asks again; accepted, the saver ends.
#   - value 0, no value, no PASSWORD.CPL, and the NT family (a copy without the version
#     setting): nothing is loaded and a click ends the saver at once.
#   - /a 4711 calls PwdChangePasswordA with "SCRSAVE" and the handle 4711.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"

standins="$build/tests/standins"
run_root="$build/tests/e2e/password_run"
desktop='HKCU\Control Panel\Desktop'
rm -rf "$run_root"
wine reg add 'HKCU\Software\Wine\AppDefaults\cirrane9x.scr' /v Version /d win98 /f >/dev/null 2>&1
saver=""
restore() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null   # a failed case leaves its saver running
  wine reg delete 'HKCU\Software\Wine\AppDefaults\cirrane9x.scr' /f >/dev/null 2>&1
  wine reg delete "$desktop" /v ScreenSaveUsePassword /f >/dev/null 2>&1
}
trap restore EXIT

# prepare <case> <exe name> <with PASSWORD.CPL: yes/no> <answers>: a folder with the copy.
prepare() {
  dir="$run_root/$1"
  mkdir -p "$dir"
  cp "$scr" "$dir/$2"
  [ "$3" = yes ] && cp "$standins/password.cpl" "$dir/"
  printf '%s' "$4" >"$dir/answers"
  : >"$dir/password.log"
  export CIRRANE_STANDIN_DIR="Z:${dir//\//\\}"
}
password_value() {
  if [ "$1" = none ]; then
    wine reg delete "$desktop" /v ScreenSaveUsePassword /f >/dev/null 2>&1
  else
    wine reg add "$desktop" /v ScreenSaveUsePassword /t REG_DWORD /d "$1" /f >/dev/null 2>&1
  fi
}
start_saver() {
  wine "$dir/$1" /s &
  saver=$!
  wine "$build/tests/e2e/find_window_driver.exe" "Cirrane Screensaver" 30 >/dev/null ||
    fail "$case: no saver window"
  sleep 1
}
count() { grep -c "^$1" "$dir/password.log"; }
alive() { kill -0 "$saver" 2>/dev/null; }
move_to_new_place() { xdotool mousemove $((200 + 31 * $1)) $((150 + 17 * $1)); sleep 0.4; }

# ---- A password is set: suspend, reject, five moves, accept -------------------------
case=password
prepare $case cirrane9x.scr yes 01
password_value 1
xdotool mousemove 640 512
start_saver cirrane9x.scr
[ "$(count loaded)" = 1 ] || fail "$case: provider not loaded"
wine "$build/tests/e2e/send_message_driver.exe" "Cirrane ScreensaverWndClass" 0x218 4 0 >/dev/null
sleep 0.5
alive && [ "$(count verify)" = 0 ] || fail "$case: the suspend notification ended the saver"
xdotool click 1; sleep 1.5
[ "$(count verify)" = 1 ] && [ "$(count rejected)" = 1 ] || fail "$case: a click did not ask"
alive || fail "$case: a rejected password ended the saver"
sleep 1
import -window root "$build/password_resumed.png"
brightness=$(convert "$build/password_resumed.png" -colorspace Gray -format '%[fx:mean]' info:)
echo "after the rejection the screen's mean brightness is $brightness"
awk -v b="$brightness" 'BEGIN { exit !(b > 0.1) }' || fail "$case: the scene did not come back"
for i in 1 2 3 4 5; do move_to_new_place $i; done
[ "$(count verify)" = 1 ] && alive || fail "$case: five moves after a rejection asked again"
move_to_new_place 6; sleep 1
[ "$(count accepted)" = 1 ] || fail "$case: the sixth move did not ask"
wait_exit "$saver" 15
[ "$exit_code" = 0 ] || fail "$case: an accepted password did not end the saver ($exit_code)"
cat "$dir/password.log"
echo "$case: ok"

# ---- No password wanted, or no provider: a click ends at once ----------------------
no_password_case() {   # <case> <exe name> <PASSWORD.CPL> <value>
  case=$1
  prepare "$1" "$2" "$3" 1
  password_value "$4"
  start_saver "$2"
  [ "$(count loaded)" = 0 ] || fail "$case: the provider was loaded"
  xdotool click 1
  wait_exit "$saver" 10
  [ "$exit_code" = 0 ] || fail "$case: a click did not end the saver ($exit_code)"
  [ "$(count verify)" = 0 ] || fail "$case: the password was asked"
  echo "$case: ok"
}
no_password_case value0 cirrane9x.scr yes 0
no_password_case novalue cirrane9x.scr yes none
no_password_case nocpl cirrane9x.scr no 1
no_password_case ntfamily cirranent.scr yes 1

# ---- Password change -------------------------------------------------------------------
case=change
prepare $case cirrane9x.scr no ""
cp "$standins/mpr.dll" "$dir/"
WINEDLLOVERRIDES="mpr=n;$base_overrides" wine "$dir/cirrane9x.scr" /a 4711 &
saver=$!
wait_exit "$saver" 20
[ "$exit_code" = 0 ] || fail "$case: exit code $exit_code"
called=$(tr -d '\r' <"$dir/mpr.log" 2>/dev/null)
echo "$called"
[ "$called" = 'PwdChangePasswordA SCRSAVE 4711 0 0' ] ||
  fail "$case: PwdChangePasswordA not called as expected"
echo "$case: ok"
echo "ok"
