# Sourced by the end-to-end scripts (argument: the build directory): the saver run in
# the background and cleaned up on every exit, the driver, waiting for an end, screenshots
# and picture checks by colour. Uses the Wine prefix and X display of the test run
# (scripts/test.sh); a script run on its own gets the build's prefix and must have DISPLAY.
build=$(cd "$1" && pwd)
scr="$build/cirrane.scr"
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEDEBUG=-all
base_overrides="mscoree,mshtml="
export WINEDLLOVERRIDES="$base_overrides"
[ -n "${DISPLAY:-}" ] || { echo "e2e: no DISPLAY" >&2; exit 1; }

fail() { echo "FAIL: $*" >&2; exit 1; }
driver() { wine "$build/tests/e2e/e2e_driver.exe" "$@" </dev/null | tr -d '\r'; }
press() { driver post "$1" 0x111 "$2" 0; }   # <window> <button id>: as if clicked

work=$(mktemp -d)
saver=""
cleanup() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
  remove_system_standins
  rm -rf "$work"
}
trap cleanup EXIT

# system_standin <file> <name>: a test's stand-in as the system component <name> in the
# prefix's system folder (that of programs of the prefix's own width) until the script ends
# or remove_system_standins; Wine's own file of that name is put aside and back.
system_folder="$WINEPREFIX/drive_c/windows/system32"
system_standins=()
system_standin() {
  local target="$system_folder/$2"
  [ -e "$target" ] && mv "$target" "$work/saved-$2"
  cp "$1" "$target"
  system_standins+=("$2")
}
remove_system_standins() {
  local name
  for name in "${system_standins[@]}"; do
    rm -f "$system_folder/$name"
    if [ -e "$work/saved-$name" ]; then mv "$work/saved-$name" "$system_folder/$name"; fi
  done
  system_standins=()
}

# A Windows 9x desktop that asks for a password: copies named cirrane9x.scr run as "win98",
# and "ScreenSaveUsePassword" is 1; both are undone at the end.
win98_password_desktop() {
  desktop='HKCU\Control Panel\Desktop'
  win98='HKCU\Software\Wine\AppDefaults\cirrane9x.scr'
  wine reg add "$win98" /v Version /d win98 /f >/dev/null 2>&1
  wine reg add "$desktop" /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
  trap 'wine reg delete "$desktop" /v ScreenSaveUsePassword /f >/dev/null 2>&1
        wine reg delete "$win98" /f >/dev/null 2>&1; cleanup' EXIT
}

# start_saver <arguments> [extra WINEDLLOVERRIDES entries] [program]: the .scr (or a copy
# of it) in the background. Wine's fps channel reports its frames, once a second, in
# $work/frames, with the trace of the channels in $channels if set.
start_saver() {
  WINEDEBUG=-all,trace+fps${channels:+,$channels} WINEDLLOVERRIDES="${2:+$2;}$base_overrides" wine "${3:-$scr}" $1 \
    </dev/null >/dev/null 2>"$work/frames" &
  saver=$!
}
alive() { kill -0 "$saver" 2>/dev/null; }
presenting() {   # waits until the saver's <n> devices (default 1) have presented for a second
  for ((i = 0; i < 300; i++)); do
    [ "$(grep -o 'present [0-9A-F]*' "$work/frames" | sort -u | wc -l)" -ge "${1:-1}" ] && return
    sleep 0.1
  done
  fail "no frames presented"
}

# ends_with_0 <seconds> <what>: the saver ends within the time with exit code 0. Waits in
# this shell, which alone can wait for its own children.
ends_with_0() {
  local i code=timeout
  for ((i = 0; i < $1 * 10; i++)); do
    alive || { wait "$saver"; code=$?; break; }
    sleep 0.1
  done
  [ "$code" = 0 ] || fail "$2: exit code $code"
  saver=""
}

# sixth_move_ends <x> <y> <dx> <dy> <pause> <label>: five real moves of the pointer to new
# places, <x>+i*<dx>, <y>+i*<dy>, <pause> seconds apart so that none is merged with another,
# leave the saver running; the sixth, one step further, ends it with exit code 0.
sixth_move_ends() {
  local i
  for i in 1 2 3 4 5; do
    xdotool mousemove $(($1 + $3 * i)) $(($2 + $4 * i)); sleep "$5"
    alive || fail "ended by move $i$6"
  done
  xdotool mousemove $(($1 + $3 * 6)) $(($2 + $4 * 6))
  ends_with_0 20 "sixth move$6"
}

# saver_window: waits for the saver's first window and sets window, client (x y w h each)
# and topmost.
saver_window() {
  local line
  line=$(driver windows 30 | head -n 1)
  echo "$line"
  read -r _ win_x win_y win_w win_h _ client_x client_y client_w client_h _ topmost <<<"$line"
  [ -n "$topmost" ] || fail "no saver window"
}

# shot <file> [geometry]: a screenshot of the whole screen or of WxH+X+Y.
shot() { import -window root ${2:+-crop "$2" +repage} "$1"; }

# Share of pixels (0..1) of an image matching an -fx condition.
share() { convert "$1" -fx "($2) ? 1 : 0" -format '%[fx:mean]' info:; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

# check_scene <picture> [colours]: the sky scene by its colours: a saturated blue sky over
# much of the picture, light stone (low saturation, not dark) in its lower half where the
# slabs are, and the stone cube in the middle, where the camera keeps it; a textured
# picture (at least 5000 colours, or as given). Shares are counted on a sample of the
# pixels, which keeps their colours as they are.
check_scene() {
  local small="$work/small.png" stone='max(r,max(g,b)) - min(r,min(g,b)) < 0.12 && (r+g+b)/3 > 0.35'
  local sky slabs cube colours
  convert "$1" -sample '320x240!' "$small"
  sky=$(share "$small" 'b > r + 0.15 && b > g + 0.05')
  slabs=$(share "$small[320x120+0+120]" "$stone")
  cube=$(share "$small[96x72+112+84]" "$stone")
  colours=$(identify -format '%k' "$1")
  echo "scene check: sky $sky, stone below $slabs, stone in the middle $cube, $colours colours"
  at_least "$sky" 0.15 && at_least "$slabs" 0.05 && at_least "$cube" 0.15 && at_least "$colours" "${2:-5000}" ||
    fail "not the sky scene (wanted at least 0.15 sky, 0.05 stone below, 0.15 in the middle, ${2:-5000} colours)"
}
