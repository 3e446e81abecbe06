#!/usr/bin/env bash
# Full screen with its device lost for real: another program takes the foreground, the
# saver's window loses activation and Wine's Direct3D 8 marks the device lost (its d3d8
# trace reports the deactivation). On the NT family that ends the saver, exit code 0. With
# a Windows 9x password that the PASSWORD.CPL stand-in rejects, each loss asks for it, the
# lost device is released and made again, the saver takes the foreground back and the
# scene is drawn again: <cycles> rounds (default 2; "device_loss_e2e.sh <build> 20" for a
# long run), then the password is accepted and the saver ends with exit code 0.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"
cycles=${2:-2}
channels=trace+d3d8
win98_password_desktop

losses() { grep -c 'device_parent_activate.*activate 0\.' "$work/frames"; }
devices() { grep -c 'Created device' "$work/frames"; }
reports() { grep -c 'approx' "$work/frames"; }
rejections() { grep -c rejected "$dir/password.log"; }
xdotool mousemove 20 20

# ---- NT family: the loss ends the saver ----------------------------------------------------
start_saver /s
saver_window >/dev/null
presenting
driver foreground 3 >/dev/null
ends_with_0 10 "a loss on the NT family"
[ "$(losses)" = 1 ] || fail "Wine did not report the device lost"

# ---- Windows 9x with a password: lost, asked, rejected, drawn again ------------------------
dir="$work/9x"
mkdir -p "$dir"
cp "$scr" "$dir/cirrane9x.scr"
system_standin "$build/tests/standins/password.cpl" password.cpl
export CIRRANE_STANDIN_DIR="Z:${dir//\//\\}" CIRRANE_STANDIN_ANSWERS="$(printf '0%.0s' $(seq "$cycles"))1"
start_saver /s "" "$dir/cirrane9x.scr"
saver_window >/dev/null
presenting
started=$(date +%s.%N)
for ((i = 1; i <= cycles; i++)); do
  before=$(reports)
  back=$(driver foreground 20) || fail "cycle $i: the saver did not take the foreground back"
  for ((t = 0; t < 50 && $(rejections) < i; t++)); do sleep 0.1; done   # it is back before it asks
  [ "$(rejections)" = "$i" ] || fail "cycle $i: the loss did not ask for the password"
  for ((t = 0; t < 100 && $(reports) < before + 2; t++)); do sleep 0.1; done
  [ "$(reports)" -ge $((before + 2)) ] || fail "cycle $i: no frames after the loss"
  # Uncompressed screenshots and a sample of the pixels: a loaded machine takes seconds to
  # compress or count a whole screen. The last one gets the whole scene check.
  shot "$work/cycle.ppm"
  convert "$work/cycle.ppm" -sample '80x60!' "$work/small.png"
  sky=$(share "$work/small.png" 'b > r + 0.15 && b > g + 0.05')
  echo "cycle $i: $back, losses $(losses), devices made $(devices), sky $sky"
  at_least "$sky" 0.15 || fail "cycle $i: no sky after the loss"
done
check_scene "$work/cycle.ppm"
elapsed=$(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.1f", e - s }')
[ "$(losses)" = "$cycles" ] && [ "$(devices)" = $((cycles + 1)) ] ||
  fail "$(losses) losses and $(devices) devices for $cycles cycles"
driver foreground 3 >/dev/null
ends_with_0 15 "an accepted password"
echo "$cycles cycles of loss and recovery in $elapsed s; ok"
