# Sourced by the run and test scripts: a private X display and Wine server for this run.
#   start_xvfb [screen geometry]   starts Xvfb on a free display and exports DISPLAY
#   start_two_monitors             starts Xorg with two monitors on a free display (1024 x 768
#                                  at 0,0 and 800 x 600 right of it) and exports DISPLAY
#   start_wineserver               starts a persistent wineserver for the build's prefix
#   stop_wineserver                stops the Wine server of $WINEPREFIX
#   stop_session                   stops all of them (also called on exit)
# The Wine prefix is made after DISPLAY is set: Wine's desktop process keeps the display
# of the program that started it.
#
# Sourcing it also chooses Wine's loader. Wine's launcher ("wine", and "wine-stable", which
# wineboot, reg and the other tools go through) prefers the 32-bit loader whenever it is
# installed, so a machine whose kernel runs no 32-bit program (no IA-32 emulation) would run
# no Windows program at all. There both names lead to the 64-bit loader (shims in
# build/wine64-only, first on PATH) and CIRRANE_RUNS_32BIT is 0: 32-bit Windows programs
# cannot run, and the runs that need one are skipped or use a 64-bit stand-in.
choose_wine_loader() {
  export CIRRANE_RUNS_32BIT=1
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
  [ -x /usr/lib/wine/wine64 ] || return 0
  CIRRANE_RUNS_32BIT=0
  local shims="$CIRRANE_ROOT/build/wine64-only" name
  mkdir -p "$shims"
  for name in wine wine-stable; do
    printf '#!/bin/sh\nexec /usr/lib/wine/wine64 "$@"\n' >"$shims/$name"
    chmod +x "$shims/$name"
  done
  case ":$PATH:" in *":$shims:"*) ;; *) export PATH="$shims:$PATH" ;; esac
}
choose_wine_loader
xvfb_pid=""
start_xvfb() {
  local geometry=${1:-1280x1024x24}
  local fifo; fifo=$(mktemp -u); mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  local number; read -r number <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$number"
}
xorg_pid=""
xorg_dir=""
start_two_monitors() {
  xorg_dir=$(mktemp -d)
  mkdir "$xorg_dir/conf.d"   # an empty one: the machine's own X configuration stays out
  mkfifo "$xorg_dir/display"
  Xorg -displayfd 3 -config "$CIRRANE_ROOT/scripts/xorg-two-monitors.conf" -configdir "$xorg_dir/conf.d" \
    -noreset -nolisten tcp -logfile "$xorg_dir/xorg.log" -sharevts -novtswitch \
    3>"$xorg_dir/display" >/dev/null 2>&1 &
  xorg_pid=$!
  local number; read -r number <"$xorg_dir/display"
  if [ -z "$number" ]; then
    echo "xsession: Xorg did not start:" >&2; tail -n 5 "$xorg_dir/xorg.log" >&2
    return 1
  fi
  export DISPLAY=":$number"
  # The dummy driver reports the second output connected only once a full query has probed
  # it with its mode set; Wine reads the outputs without probing.
  xrandr --addmode DUMMY1 800x600 && xrandr --addmode DUMMY1 640x480 &&
    xrandr --output DUMMY1 --mode 800x600 --right-of DUMMY0 && xrandr --query >/dev/null
}
stop_two_monitors() {
  [ -n "$xorg_pid" ] && kill "$xorg_pid" 2>/dev/null && wait "$xorg_pid" 2>/dev/null
  [ -n "$xorg_dir" ] && rm -rf "$xorg_dir"
  xorg_pid=""
  xorg_dir=""
}
start_wineserver() {
  "$CIRRANE_ROOT/scripts/wine-prefix"
  WINEPREFIX="$WINEPREFIX" wineserver -p >/dev/null 2>&1 || true
  # Start Wine's own background processes now, detached from our output: started by a
  # test, they would inherit ctest's pipes and keep it waiting until its timeout.
  wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
}
stop_wineserver() {
  [ -n "${WINEPREFIX:-}" ] || return 0   # a run that stopped before it chose a prefix
  WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
}
stop_session() {
  stop_wineserver
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  stop_two_monitors
}
