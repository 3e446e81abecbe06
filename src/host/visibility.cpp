// Visibility of the saving phase: whether anything drawn now could be seen.
//
// Nothing is seen while the display is powered off, while the window or any window above it
// is hidden, or while the top-level window (the test window, or the preview's host) is
// minimised. The message loop then waits for messages instead of drawing; a restore, the
// display coming back or input wakes it. This is the program's own addition to the saver's
// behaviour: it draws nothing that nobody can see.
//
// The display's power state comes from the system's console display state notification
// (Windows 8 on), else from the monitor power notification (Vista and 7), and from
// SC_MONITORPOWER where that arrives. Systems without a notification (XP) never say the
// display came back: any input says so too (saver_windows.cpp).
#include "host/saver.h"
#include "host/user32_function.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE: its data is one DWORD, 0 off, 1 on, 2 dimmed.
const GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
// GUID_MONITOR_POWER_ON: one DWORD, 0 off, 1 on.
const GUID kMonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

// The notification functions exist from Windows Vista on: looked up at run time.
using UnregisterFn = BOOL(WINAPI*)(PVOID);

}  // namespace

// Windows 8 is version 6.2; later versions report at least that much to any program.
void Saver::RegisterDisplayNotification() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    ::GetVersionExA(&version);
    bool windows8 = version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 2);
    RegisterDisplayNotification(
        User32Function<RegisterPowerSettingNotificationFn>("RegisterPowerSettingNotification"), windows8);
}

// Vista and 7 do not know the console display state (they may well accept a registration
// for it and never send it), so they get the monitor's power; so does a system that
// refuses the console display state.
void Saver::RegisterDisplayNotification(RegisterPowerSettingNotificationFn registerFn, bool consoleStateKnown) {
    if (!registerFn || !mainWindow || displayNotification) return;
    if (consoleStateKnown)
        displayNotification = registerFn(mainWindow, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (!displayNotification)
        displayNotification = registerFn(mainWindow, &kMonitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void Saver::UnregisterDisplayNotification() {
    if (!displayNotification) return;
    PVOID notification = displayNotification;
    displayNotification = nullptr;
    auto unregisterFn = User32Function<UnregisterFn>("UnregisterPowerSettingNotification");
    if (unregisterFn) unregisterFn(notification);
}

// Both settings say 0 for a display that is off; dimmed is still lit.
void Saver::NoteDisplayState(LPARAM setting) {
    const auto* change = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (!change || change->DataLength < sizeof(DWORD)) return;
    if (change->PowerSetting != kConsoleDisplayState && change->PowerSetting != kMonitorPowerOn) return;
    DWORD state;
    ::CopyMemory(&state, change->Data, sizeof(state));
    displayOff = state == 0 ? 1 : 0;
}

// SC_MONITORPOWER's lParam: 2 off, 1 low power (still lit), -1 on.
void Saver::NoteMonitorPower(LPARAM power) {
    if (power == 2) displayOff = 1;
    if (power == -1) displayOff = 0;
}

bool Saver::SceneVisible() const {
    if (displayOff) return false;
    if (!mainWindow) return true;
    return ::IsWindowVisible(mainWindow) && !::IsIconic(::GetAncestor(mainWindow, GA_ROOT));
}
