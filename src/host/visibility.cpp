// Visibility of the saving phase: whether anything drawn now could be seen.
//
// Nothing is seen while the display is powered off (the system's console display state
// notification, where the system has it, and SC_MONITORPOWER, where it arrives), while the
// window or any window above it is hidden, or while the top-level window (the test window,
// or the preview's host) is minimised. The message loop then waits for messages instead of
// drawing; a restore, the display coming back or input wakes it.
#include "host/saver.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE: its data is one DWORD, 0 off, 1 on, 2 dimmed.
const GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// The notification functions exist from Windows Vista on: looked up at run time.
using RegisterFn = PVOID(WINAPI*)(HANDLE, LPCGUID, DWORD);
using UnregisterFn = BOOL(WINAPI*)(PVOID);

FARPROC User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleA("user32.dll");
    return user32 ? ::GetProcAddress(user32, name) : nullptr;
}

}  // namespace

void Saver::RegisterDisplayNotification() {
    auto registerFn = reinterpret_cast<RegisterFn>(
        reinterpret_cast<void*>(User32Function("RegisterPowerSettingNotification")));
    if (registerFn && mainWindow && !displayNotification)
        displayNotification = registerFn(mainWindow, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void Saver::UnregisterDisplayNotification() {
    if (!displayNotification) return;
    PVOID notification = displayNotification;
    displayNotification = nullptr;
    auto unregisterFn = reinterpret_cast<UnregisterFn>(
        reinterpret_cast<void*>(User32Function("UnregisterPowerSettingNotification")));
    if (unregisterFn) unregisterFn(notification);
}

void Saver::NoteDisplayState(LPARAM setting) {
    const auto* change = reinterpret_cast<const POWERBROADCAST_SETTING*>(setting);
    if (!change || change->PowerSetting != kConsoleDisplayState || change->DataLength < sizeof(DWORD))
        return;
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
