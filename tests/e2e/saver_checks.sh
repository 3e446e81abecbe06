# Sourced by the end-to-end scripts of the saving phase, after e2e_common.sh: starting the
# saver in the background with cleanup on every exit, asking the window driver about its
# windows, screenshots, and picture checks by colour.
driver="$build/tests/e2e/saver_window_driver.exe"
work=$(mktemp -d)
saver=""
cleanup() {
  [ -n "$saver" ] && kill "$saver" 2>/dev/null && wait "$saver" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# start_saver <switch> [extra WINEDLLOVERRIDES entries]: runs the .scr in the background.
start_saver() {
  local overrides=$base_overrides
  [ -n "${2:-}" ] && overrides="$2;$base_overrides"
  WINEDLLOVERRIDES="$overrides" wine "$scr" "$1" </dev/null >/dev/null 2>&1 &
  saver=$!
}
alive() { kill -0 "$saver" 2>/dev/null; }

# saver_window: waits for the saver's window and sets win_* and client_* (x y w h).
saver_window() {
  local found
  found=$(wine "$driver" find 30 | tr -d '\r')
  echo "$found"
  read -r _ win_x win_y win_w win_h < <(grep '^window:' <<<"$found") || fail "no saver window"
  read -r _ client_x client_y client_w client_h < <(grep '^client:' <<<"$found")
  topmost=$(sed -n 's/^topmost: //p' <<<"$found")
}

# shot <file> [geometry]: a screenshot of the whole screen or of WxH+X+Y.
shot() {
  if [ -n "${2:-}" ]; then import -window root -crop "$2" +repage "$1"; else import -window root "$1"; fi
}

# Share of pixels (0..1) of an image matching an -fx condition.
share() { convert "$1" -fx "($2) ? 1 : 0" -format '%[fx:mean]' info:; }
at_least() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a >= b) }'; }

# check_scene <picture>: the sky scene by its colours: a saturated blue sky over much of the
# picture, light stone (low saturation, not dark) in its lower half where the slabs are,
# and the stone cube in the middle, where the camera keeps it; a textured picture.
check_scene() {
  local picture="$work/scene.png" w h sky slabs cube colours
  convert "$1" -resize '640x640>' "$picture"
  read -r w h < <(identify -format '%w %h' "$picture")
  sky=$(share "$picture" 'b > r + 0.15 && b > g + 0.05')
  convert "$picture" -crop "${w}x$((h / 2))+0+$((h / 2))" +repage "$work/lower.png"
  slabs=$(share "$work/lower.png" 'max(r,max(g,b)) - min(r,min(g,b)) < 0.12 && (r+g+b)/3 > 0.35')
  convert "$picture" -crop "$((w * 3 / 10))x$((h * 3 / 10))+$((w * 35 / 100))+$((h * 35 / 100))" \
    +repage "$work/middle.png"
  cube=$(share "$work/middle.png" 'max(r,max(g,b)) - min(r,min(g,b)) < 0.12 && (r+g+b)/3 > 0.35')
  colours=$(identify -format '%k' "$picture")
  echo "scene check: sky $sky, stone below $slabs, stone in the middle $cube, $colours colours"
  at_least "$sky" 0.15 || fail "no sky"
  at_least "$slabs" 0.05 || fail "no slabs"
  at_least "$cube" 0.15 || fail "no cube in the middle"
  at_least "$colours" 5000 || fail "not a textured picture"
}

# Pixels differing between two pictures.
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
