#!/usr/bin/env bash
# cirrane-still: a bad command line gets a message and exit code 2 and writes nothing; good
# ones write the picture, and each setting, by name or number, takes effect. A 320 x 240 picture shows the scene where the camera of the flying
# path at time 0 puts it (sky above, the glow at the horizon on both sides of the cube, the
# central slab below), as the scene's own device test sees it at 600 x 400. 3840 x 2160,
# larger than the screen and than one render target, comes out whole and is the same view
# (scaled down, it matches a picture rendered small). --wallpaper sets the background.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
still() { wine "$build/cirrane-still.exe" "$@" </dev/null 2>"$work/stderr" | tr -d '\r'; }
cd "$work"

# <expected exit code> <arguments>
while read -r expected line; do
  eval "set -- $line"
  rm -f out.*
  still "$@" >/dev/null
  code=$?   # wine's, through pipefail
  [ "$code" = "$expected" ] || fail "cirrane-still $line: exit code $code, wanted $expected"
  if [ "$expected" != 0 ]; then
    grep -q '^cirrane-still: ' stderr || fail "cirrane-still $line: no message"
    ls out.* >/dev/null 2>&1 && fail "cirrane-still $line: wrote a picture"
  fi
done <<'CASES'
0 --help
1 --size 8x6 --out missing/out.png
0 --size 8x6 --time 42.5 --camera circular --cube 'up and down' --sky-speed 10 --out out.bmp
0 --size 1x1 --camera 1 --cube Standart --sky-speed 0 --out OUT.PNG
2
2 --size 8x6
2 --out out.jpg
2 --out
2 --size 0x6 --out out.png
2 --size 16385x6 --out out.png
2 --size 8 --out out.png
2 --size 8x --out out.png
2 --time -1 --out out.png
2 --time nan --out out.png
2 --time 1s --out out.png
2 --camera Orbit --out out.png
2 --camera 3 --out out.png
2 --cube 2 --out out.png
2 --sky-speed 11 --out out.png
2 --sky-speed 0.5 --out out.png
2 --fast --out out.png
CASES
# <same|differs> <arguments> | <arguments>: a name and its number choose the same; each
# setting changes the picture.
n=0
while IFS='|' read -r relation first second; do
  for args in "$first" "$second"; do
    eval "set -- $args"
    still --size 64x48 --time 2.5 "$@" --out "out$((++n)).bmp" >/dev/null || fail "cirrane-still $args failed"
  done
  cmp -s "out$((n - 1)).bmp" "out$n.bmp" && result=same || result=differs
  [ "$result" = "$relation" ] || fail "$first and $second: $result"
done <<'PAIRS'
same|--camera circular|--camera 2
same|--cube 'Up and Down'|--cube 1
differs|--camera 2|--camera 0
differs|--cube 1|--cube 0
differs|--sky-speed 0|--sky-speed 10
PAIRS
echo "command lines: ok"

rgb() { convert "$1" -crop "$2" +repage -format '%[fx:255*mean.r] %[fx:255*mean.g] %[fx:255*mean.b]' info:; }
start=$(date +%s.%N)
still --size 320x240 --time 0 --camera Flying --cube Standart --sky-speed 2 --out small.png || fail "320 x 240 not rendered"
echo "320 x 240: $(date +%s.%N | awk -v s="$start" '{ printf "%.1f", $1 - s }') s, $(stat -c %s small.png) bytes"
read -r r g b < <(rgb small.png 320x24+0+60)
low=$(awk -v r="$r" -v g="$g" -v b="$b" 'BEGIN { print (r + g + b) / 3 }')   # the sky above the horizon
# <region> <geometry> <condition on its mean r, g, b (0..255); low: the sky above the horizon>
while read -r name geometry condition; do
  read -r r g b < <(rgb small.png "$geometry")
  awk -v r="$r" -v g="$g" -v b="$b" -v low="$low" "BEGIN { exit !($condition) }" ||
    fail "$name ($geometry): mean $r $g $b, wanted $condition"
done <<'REGIONS'
sky        320x36+0+0     b > 120 && b > r + 50
sky-low    320x24+0+60    b > r + 50
glow-left  96x12+4+120    (r+g+b)/3 > low + 60 && r > 220 && r > b
glow-right 96x12+220+120  (r+g+b)/3 > low + 60 && r > 220 && r > b
cube       30x15+145+111  (r+g+b)/3 > 130 && (r+g+b)/3 < 245
slab       120x36+100+180 (r+g+b)/3 > low + 40 && (r+g+b)/3 < 245
REGIONS
echo "320 x 240 regions: ok"

start=$(date +%s.%N)
still --size 3840x2160 --time 7.25 --camera Sinusoid --out large.png || fail "3840 x 2160 not rendered"
echo "3840 x 2160: $(date +%s.%N | awk -v s="$start" '{ printf "%.1f", $1 - s }') s, $(stat -c %s large.png) bytes"
[ "$(identify -format '%w %h' large.png)" = "3840 2160" ] || fail "3840 x 2160: $(identify large.png)"
still --size 384x216 --time 7.25 --camera Sinusoid --out reference.png || fail "384 x 216 not rendered"
convert large.png -scale 384x216 scaled.png
difference=$(compare -metric RMSE scaled.png reference.png null: 2>&1 | tr -d '()' | cut -d' ' -f2)
echo "3840 x 2160 scaled down against 384 x 216: RMSE $difference"
awk -v d="$difference" 'BEGIN { exit !(d < 0.1) }' || fail "3840 x 2160 is not the same view"

key='HKCU\Control Panel\Desktop'
before=$(wine reg query "$key" /v Wallpaper 2>/dev/null | tr -d '\r' | awk '/Wallpaper/ { $1 = $2 = ""; print substr($0, 3) }')
still --size 64x48 --out wall.png --wallpaper || fail "--wallpaper failed"
set_to=$(wine reg query "$key" /v Wallpaper | tr -d '\r' | awk '/Wallpaper/ { $1 = $2 = ""; print substr($0, 3) }')
wine reg add "$key" /v Wallpaper /d "$before" /f >/dev/null 2>&1
echo "wallpaper: $set_to"
copy=$(winepath -u "$set_to" 2>/dev/null)
[ "$(head -c 2 "$copy")" = BM ] && [ "$(identify -format '%w %h' "$copy")" = "64 48" ] ||
  fail "the background is not the picture's BMP copy"
echo "ok"
