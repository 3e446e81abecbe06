#!/usr/bin/env bash
# Makes the pictures in docs/ from the program itself, inside a private Xvfb and a Wine
# prefix of their own (build/mingw-x64/pictures-prefix, made afresh, so every setting is
# the program's default):
#   docs/scene-flying.png      the scene at 1280 x 720 by cirrane-still, camera "Flying"
#   docs/scene-circular.png    the scene at 1280 x 720 by cirrane-still, camera "Circular"
#   docs/options.png           the options dialog (cirrane.scr /c), cropped to the dialog
#   docs/display-settings.png  the display settings dialog opened from it, cropped
#   docs/two-monitors.png      the full-screen saver (/s) on the two-monitor desktop of
#                              scripts/run.sh --two-monitors, 1824 x 768 shown at half size
#
# Byte for byte: the scene pictures are the same on every run on one machine (Mesa's
# software rasterizer, no time or randomness in the file); another CPU or Mesa version may
# round a few pixels differently. The dialog screenshots are the same on every run with
# the same Wine and fonts: they are written without ImageMagick's date chunks. The
# two-monitor picture is not: it is taken from the running saver, whose moment depends on
# how fast the machine draws.
#
# Fonts: the dialogs ask for "MS Sans Serif" 8 pt; Wine's own bitmap font of that name has
# Windows' metrics, so no label wraps and no replacement is set. Wine's Marlett (the glyphs
# of the caption's buttons) is copied into the prefix's font folder, where the caption
# drawing finds it.
set -euo pipefail
export CIRRANE_ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$CIRRANE_ROOT/scripts/setup.sh" mingw-x64 >/dev/null

build="$CIRRANE_ROOT/build/mingw-x64"
docs="$CIRRANE_ROOT/docs"
mkdir -p "$docs"
export CIRRANE_BUILD_DIR="$build" WINEPREFIX="$build/pictures-prefix"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
rm -rf "$WINEPREFIX"
. "$CIRRANE_ROOT/scripts/xsession.sh"
start_xvfb 1280x1024x24
start_wineserver
# No window manager runs on Xvfb: Wine draws the windows' captions and frames itself.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
. "$CIRRANE_ROOT/tests/e2e/e2e_common.sh" "$build"
trap 'press "Display Settings" 2 || true; press Cirrane 2 || true; cleanup; stop_session' EXIT

still() { wine "$build/cirrane-still.exe" --size 1280x720 "$@" </dev/null >/dev/null; }
still --camera Flying --time 0 --out "$(winepath -w "$docs/scene-flying.png")"
still --camera Circular --time 42.5 --out "$(winepath -w "$docs/scene-circular.png")"

# dialog_shot <window> <file>: the window as it is on the screen, without date chunks.
dialog_shot() {
  local x y w h
  read -r _ x y w h < <(driver find "$1" 30 | grep '^window ') || fail "$1 not shown"
  sleep 1
  import -window root -crop "${w}x${h}+${x}+${y}" +repage -strip \
    -define png:exclude-chunks=date,time "$2"
}
start_saver /c
dialog_shot Cirrane "$docs/options.png"
read -r _ _ x y < <(driver find Cirrane 30 1006 | grep '^control') || fail "no Display Settings button"
xdotool mousemove "$x" "$y" click 1 mousemove 0 0
dialog_shot "Display Settings" "$docs/display-settings.png"
press "Display Settings" 2
sleep 1
press Cirrane 2
ends_with_0 20 "options dialog"

shot=$(CIRRANE_SHOT_AFTER=10 "$CIRRANE_ROOT/scripts/run.sh" --two-monitors /s | tail -n 1)
convert "$shot" -crop 1824x768+0+0 +repage -resize 50% -strip \
  -define png:exclude-chunks=date,time "$docs/two-monitors.png"
ls -l "$docs"
