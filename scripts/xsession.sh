# Sourced by the run and test scripts: a private X display and Wine server for this run.
#   start_xvfb [screen geometry]   starts Xvfb on a free display and exports DISPLAY
#   start_wineserver               starts a persistent wineserver for the build's prefix
#   stop_wineserver                stops the Wine server of $WINEPREFIX
#   stop_session                   stops both (also called on exit)
# The Wine prefix is made after DISPLAY is set: Wine's desktop process keeps the display
# of the program that started it.
xvfb_pid=""
start_xvfb() {
  local geometry=${1:-1280x1024x24}
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number; read -r number <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$number"
}
start_wineserver() {
  "$CIRRANE_ROOT/scripts/wine-prefix"
  WINEPREFIX="$WINEPREFIX" wineserver -p >/dev/null 2>&1 || true
  # Start Wine's own background processes now, detached from our output: started by a
  # test, they would inherit ctest's pipes and keep it waiting until its timeout.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() {
  WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
}
stop_session() {
  stop_wineserver
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}
