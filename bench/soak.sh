#!/usr/bin/env bash
# Soak benchmark: the real cirrane.scr in full screen (/s) and in the test window (/t), each
# for a while under Wine inside Xvfb, sampled from outside every 10 s by soak_bench (memory,
# GDI and USER objects, handles, frames presented), with the growth per hour after the first
# minute and over the second half. Not part of the tests.
#   bench/soak.sh [minutes per mode, default 10] [modes, default "/s /t"]
#   bench/soak.sh 1              a quick look
#   bench/soak.sh 10 loss        full screen through device losses: a copy that Wine tells
#                                it runs on Windows 98, with the tests' PASSWORD.CPL stand-in
#                                rejecting; from the 30th second on, every 10 s another
#                                program (the end-to-end driver) takes the foreground, up to
#                                20 times: the device is lost, released and made again
# The run has a Wine prefix of its own: a test run in the same tree stops the Wine server
# of the build's prefix when it ends, and with it every program of that prefix.
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-10}
modes=${2:-/s /t}
build="$CIRRANE_ROOT/build/mingw-x64"
[ -f "$build/cirrane.scr" ] && [ -f "$build/bench/soak_bench.exe" ] ||
  { echo "soak: build first (cmake --preset mingw-x64 && cmake --build --preset mingw-x64)" >&2; exit 1; }
export WINEPREFIX="$build/wineprefix-soak" WINEDLLOVERRIDES="mscoree,mshtml="
. "$CIRRANE_ROOT/scripts/xsession.sh"
work=$(mktemp -d)
standin="$WINEPREFIX/drive_c/windows/system32/password.cpl"
trap 'stop_session; rm -rf "$work" "$standin"' EXIT
start_xvfb
export WINEDEBUG=-all
start_wineserver
trace="$work/trace"
status=0

# loss_copy: the Windows 98 copy with the password stand-in in the prefix's system folder,
# and the losses that fit in the run (the stand-in rejects that many times, then accepts the
# closing key).
loss_copy() {
  cp "$build/cirrane.scr" "$work/cirrane9x.scr"
  cp "$build/tests/standins/password.cpl" "$standin"
  wine reg add 'HKCU\Software\Wine\AppDefaults\cirrane9x.scr' /v Version /d win98 /f >/dev/null 2>&1
  wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
  losses=$(awk -v m="$minutes" 'BEGIN { n = int((m * 60 - 40) / 12); print (n > 20 ? 20 : (n < 0 ? 0 : n)) }')
  export CIRRANE_STANDIN_DIR="Z:${work//\//\\}" CIRRANE_STANDIN_ANSWERS="$(printf '0%.0s' $(seq "$losses"))1"
}
take_foreground() {
  sleep 30
  for ((i = 1; i <= losses; i++)); do
    wine "$build/tests/e2e/e2e_driver.exe" foreground 20 </dev/null >/dev/null 2>&1 || echo "loss $i: the saver did not come back"
    sleep 10
  done
}

for mode in $modes; do
  scr="$build/cirrane.scr" switch=$mode thief=""
  if [ "$mode" = loss ]; then
    loss_copy
    scr="$work/cirrane9x.scr" switch=/s
    take_foreground &
    thief=$!
  fi
  # The saver writes Wine's fps trace to the Unix standard error it inherits: the trace file.
  : >"$trace"
  WINEDEBUG=-all,trace+fps wine "$build/bench/soak_bench.exe" "$scr" "$switch" "$minutes" \
    "$(winepath -w "$trace")" </dev/null 2>"$trace" || {
    code=$?
    status=1
    # 1 is the probe's own verdict; anything else means it was ended from outside.
    [ "$code" = 1 ] || echo "soak_bench ended without its summary (status $code)"
  }
  if [ -n "$thief" ]; then
    wait "$thief"
    echo "device losses: $losses; password asked $(grep -c '^verify' "$work/password.log" 2>/dev/null || echo 0) times"
    wine reg delete 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /f >/dev/null 2>&1
  fi
done
exit $status
