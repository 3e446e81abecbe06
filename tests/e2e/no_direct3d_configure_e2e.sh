#!/usr/bin/env bash
# Without Direct3D 8, configuration mode shows the message box of string 2101 with the
# program's title as caption instead of the options dialog, and exits 0 once dismissed.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"

WINEDLLOVERRIDES="d3d8=;$base_overrides" wine "$scr" /c &
saver=$!
seen=$(wine "$build/tests/e2e/find_window_driver.exe" "Cirrane Screensaver" 30 press 1 | tr -d '\r')
wait_exit "$saver" 20

echo "$seen"
grep -q '^class: #32770$' <<<"$seen" || fail "no message box"
grep -qx 'text: Direct3D 8.0 could not be initialized.  Please install the latest version of DirectX.' \
  <<<"$seen" || fail "message text differs"
[ "$exit_code" = 0 ] || fail "exit code $exit_code"
echo "ok"
