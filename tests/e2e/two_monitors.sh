# Sourced by the two-monitor end-to-end scripts (argument: the build directory) in place of
# e2e_common.sh, which it brings along: a private two-monitor X desktop (scripts/xsession.sh)
# with a Wine prefix and server of its own, both stopped on every exit, and the checks that
# need two monitors: their rectangles and modes from xrandr, the registry values of the
# display settings, and pictures of each monitor cut from screenshots.
CIRRANE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$CIRRANE_ROOT/scripts/xsession.sh"
export WINEPREFIX="$(cd "$1" && pwd)/wineprefix-2mon"   # Wine keeps one display per prefix
trap stop_two_monitors EXIT
start_two_monitors || exit 1
# A mode of the second output that Wine learns when its session starts and that the fallback
# case takes away from the X server behind Wine's back: one that is listed but cannot be set.
xrandr --newmode 960x720 55.00 960 1000 1100 1240 720 723 727 740 -hsync +vsync &&
  xrandr --addmode DUMMY1 960x720
start_wineserver
. "$(dirname "${BASH_SOURCE[0]}")/e2e_common.sh"
key='HKCU\Software\Orvane\Cirrane'
no_settings() { wine reg delete "$key" /f </dev/null >/dev/null 2>&1; }
# Every exit: the saver gone, the settings too (scripts/run.sh --two-monitors uses the same
# prefix), then Wine and the X server stopped.
stop_all() { cleanup; no_settings; stop_wineserver; stop_two_monitors; }
trap stop_all EXIT
shots="$build/two_monitors"   # the pictures worth keeping
mkdir -p "$shots"
xdotool mousemove 1400 300   # on the second monitor

# monitors: "<output> <x> <y> <w> <h>" per monitor, as the X server has them now.
monitors() { xrandr --listmonitors | awk 'NR > 1 { split($3, g, /[\/x+]/); print $4, g[5], g[6], g[1], g[3] }'; }
desktop="DUMMY0 0 0 1024 768
DUMMY1 1024 0 800 600"
# wait_monitors <seconds> <lines>: the monitors become as listed, or the run fails.
wait_monitors() {
  for ((i = 0; i < $1 * 10; i++)); do [ "$(monitors)" = "$2" ] && return; sleep 0.1; done
  fail "monitors are $(monitors | tr '\n' ';') instead of $(tr '\n' ';' <<<"$2")"
}
# covered: every monitor gets a topmost saver window that covers exactly it (within 10 s).
covered() {
  local windows
  for ((i = 0; i < 20; i++)); do
    windows=$(driver windows 10 | awk '$12 == 1 { print $2, $3, $4, $5 }' | sort)
    [ "$windows" = "$(monitors | cut -d' ' -f2- | sort)" ] && return
    sleep 0.5
  done
  fail "windows ($(tr '\n' ';' <<<"$windows")) do not cover the monitors"
}

# setting <System n> <name> <number>; value <subkey> <name>: display settings in the registry
# (value prints the number or the hexadecimal bytes, nothing when absent).
setting() { wine reg add "$key\\System $1" /v "$2" /t REG_DWORD /d "$3" /f </dev/null >/dev/null 2>&1; }
value() { wine reg query "$key\\$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' | awk '/REG_/ { print $NF }'; }

# Screenshots are taken as uncompressed .ppm: PNG compression of a desktop full of scene
# takes seconds on a loaded machine. keep <picture> <name> saves one as <name>.png.
keep() { convert "$1" "$shots/$2.png"; }
# monitor <picture> <n> <out>: monitor n (1 or 2) cut from a screenshot of the desktop.
monitor() { convert "$1" -crop "$(monitors | sed -n "$2p" | awk '{ print $4 "x" $5 "+" $2 "+" $3 }')" +repage "$3"; }
# check_sky <picture> <what>: a textured picture with much saturated blue sky in it.
check_sky() {
  local sky colours small="$work/small.png"
  convert "$1" -sample '320x240!' "$small"
  sky=$(share "$small" 'b > r + 0.15 && b > g + 0.05')
  colours=$(identify -format '%k' "$1")
  echo "$2: sky $sky, $colours colours"
  at_least "$sky" 0.1 && at_least "$colours" 5000 || fail "$2 does not show the scene"
}
# check_black <picture> <what>
check_black() { [ "$(identify -format '%[max]' "$1")" = 0 ] || fail "$2 is not black"; }
