#!/usr/bin/env bash
# Soak benchmark: the real cirrane.scr in full screen (/s) and in the test window (/t), each
# for a while under Wine inside Xvfb, sampled from outside every 10 s by soak_bench (memory,
# GDI and USER objects, handles, frames presented), with the growth per hour after the first
# minute. Not part of the tests.
#   bench/soak.sh [minutes per mode, default 10] [modes, default "/s /t"]
#   bench/soak.sh 1              a quick look
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
minutes=${1:-10}
modes=${2:-/s /t}
build="$CIRRANE_ROOT/build/mingw-x64"
[ -f "$build/cirrane.scr" ] && [ -f "$build/bench/soak_bench.exe" ] ||
  { echo "soak: build first (cmake --preset mingw-x64 && cmake --build --preset mingw-x64)" >&2; exit 1; }
export WINEPREFIX="$build/wineprefix" WINEDLLOVERRIDES="mscoree,mshtml="
. "$CIRRANE_ROOT/scripts/xsession.sh"
trap stop_session EXIT
start_xvfb
export WINEDEBUG=-all
start_wineserver
trace=$(mktemp)
status=0
for mode in $modes; do
  # The saver writes Wine's fps trace to the Unix standard error it inherits: the trace file.
  : >"$trace"
  WINEDEBUG=-all,trace+fps wine "$build/bench/soak_bench.exe" "$build/cirrane.scr" "$mode" "$minutes" \
    "$(winepath -w "$trace")" </dev/null 2>"$trace" || status=1
done
rm -f "$trace"
exit $status
