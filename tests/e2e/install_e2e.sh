#!/usr/bin/env bash
# The installer of scripts/package.sh, silent, in the run's prefix (64- or 32-bit Windows).
# It refuses, writing nothing, when it cannot write the .scr into the system folder. Its
# machine part alone ("/MACHINE", the part that runs elevated) puts the .scr that fits the
# prefix there and registers the uninstaller, and selects nothing in HKCU; the whole setup
# also selects it as the user's screensaver; the selected screensaver runs full screen and
# ends on a key. The uninstaller's machine part alone removes the files and the entry and
# keeps the user's selection and settings, even with /REMOVESETTINGS. The quiet uninstall
# command leaves no selection and keeps the settings; with /REMOVESETTINGS it removes them
# and keeps another screensaver the user selected.
set -uo pipefail
. "$(dirname "$0")/e2e_common.sh"

dist=$(cd "$(dirname "$0")/../.." && pwd)/dist
version=$(sed -n 's/^!define VERSION "\(.*\)"$/\1/p' "$build/cirrane_version.nsh")
setup="$dist/cirrane-$version-setup.exe"
[ -f "$setup" ] || fail "no $setup: run scripts/package.sh"
if [ "${CIRRANE_RUNS_32BIT:-1}" = 0 ]; then
  # The installer is a 32-bit program, and this machine runs none: a 64-bit build of the same
  # script, packing the same two .scr files, stands in for it.
  mkdir "$work/dist" && cp -r "$dist/x64" "$dist/x86" "$work/dist/"
  makensis -V1 "-XTarget amd64-unicode" -DBUILD="$build" -DDIST="$work/dist" \
    -DROOT="$dist/.." "$dist/../installer/cirrane.nsi" >/dev/null || fail "no 64-bit stand-in"
  setup="$work/dist/cirrane-$version-setup.exe"
  echo "this machine runs no 32-bit program: a 64-bit build of the installer stands in"
fi
arch=x86; [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && arch=x64
system="$WINEPREFIX/drive_c/windows/system32"
home="$WINEPREFIX/drive_c/Program Files/Cirrane"
desktop='HKCU\Control Panel\Desktop'
entry='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Cirrane'
settings='HKCU\Software\Orvane\Cirrane'

# value <key> <name>: the data of a registry value, empty when it is absent. The 64-bit view
# on 64-bit Windows, as the list of installed programs sees it ("wine reg" is 32-bit there).
value() { wine reg query "$1" /v "$2" /reg:64 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
has_key() { wine reg query "$1" /reg:64 >/dev/null 2>&1; }
install() { wine "$setup" /S "$@"; local code=$?; echo "setup /S $*: exit code $code"; return $code; }
# uninstall [option...]: the quiet uninstall command (checked below) run as the uninstaller
# runs itself, from a copy, so that this shell waits for it and sees its exit code. "_?="
# must end the command line unquoted, hence the folder's short name.
uninstall() {
  local folder; folder=$(wine winepath -s 'C:\Program Files\Cirrane')
  cp "$home/uninstall.exe" "$work/" && wine "$work/uninstall.exe" /S "$@" "_?=$folder" ||
    fail "uninstall $*: exit code $?"
  [ ! -e "$home" ] || fail "uninstall left its folder"
  [ ! -e "$system/cirrane.scr" ] || fail "uninstall left the .scr"
  ! has_key "$entry" || fail "uninstall left its entry"
}

# A run that failed half way may have left an install behind.
rm -rf "$system/cirrane.scr" "$home"
wine reg delete "$entry" /reg:64 /f >/dev/null 2>&1
selected=$(value "$desktop" SCRNSAVE.EXE)
mkdir "$system/cirrane.scr"   # a .scr that cannot be written
install && fail "setup installed over an unwritable .scr"
rmdir "$system/cirrane.scr"
[ ! -e "$home" ] && ! has_key "$entry" && [ "$(value "$desktop" SCRNSAVE.EXE)" = "$selected" ] ||
  fail "the refused setup wrote something"

install /MACHINE || fail "the machine part failed"
[ "$(value "$desktop" SCRNSAVE.EXE)" = "$selected" ] || fail "the machine part selected the saver"
install || fail "setup failed"
cmp -s "$system/cirrane.scr" "$dist/$arch/cirrane.scr" || fail "no $arch .scr in system32"
[ ! -e "$WINEPREFIX/drive_c/windows/syswow64/cirrane.scr" ] || fail "a .scr in SysWOW64"
selected=$(value "$desktop" SCRNSAVE.EXE)
[ "${selected,,}" = 'c:\windows\system32\cirrane.scr' ] || fail "SCRNSAVE.EXE is '$selected'"
[ "$(value "$desktop" ScreenSaveActive)" = 1 ] || fail "ScreenSaveActive is not 1"
while read -r name expected; do
  [ "$(value "$entry" "$name")" = "$expected" ] || fail "uninstall entry: $name"
done <<EOF
DisplayName Cirrane Screensaver
DisplayVersion $version
Publisher Orvane
DisplayIcon $selected,0
UninstallString "C:\\Program Files\\Cirrane\\uninstall.exe"
QuietUninstallString "C:\\Program Files\\Cirrane\\uninstall.exe" /S
EOF
[[ $(value "$entry" EstimatedSize) =~ ^0x[0-9a-f]*[1-9a-f] ]] || fail "uninstall entry: no size"

# As the desktop starts it: a native program, so on 64-bit Windows through Wine's 64-bit
# loader (the default one is 32-bit there and would look for it in SysWOW64).
loader=wine; [ $arch = x64 ] && loader=/usr/lib/wine/wine64
$loader "$selected" /s </dev/null >/dev/null 2>&1 &
saver=$!
saver_window >/dev/null
sleep 2
xdotool key space
ends_with_0 20 "the installed screensaver"

wine reg add "$settings" /v "Sky Speed" /t REG_DWORD /d 7 /f >/dev/null 2>&1
uninstall /MACHINE /REMOVESETTINGS
[ "$(value "$desktop" SCRNSAVE.EXE)" = "$selected" ] && has_key "$settings" ||
  fail "the uninstaller's machine part changed the user's values"
install || fail "second setup failed"
uninstall
[ -z "$(value "$desktop" SCRNSAVE.EXE)" ] || fail "uninstall left the selection"
has_key "$settings" || fail "uninstall removed the settings"

install || fail "third setup failed"
wine reg add "$desktop" /v SCRNSAVE.EXE /d 'C:\windows\system32\other.scr' /f >/dev/null 2>&1
uninstall /REMOVESETTINGS
! has_key "$settings" || fail "/REMOVESETTINGS kept the settings"
[ "$(value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\other.scr' ] ||
  fail "uninstall changed another screensaver's selection"
wine reg delete "$desktop" /v SCRNSAVE.EXE /f >/dev/null 2>&1
echo "ok"
