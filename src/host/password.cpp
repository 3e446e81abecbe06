// Windows 9x password steps: loading the desktop's password provider, asking for the
// password before the saver ends, and the system dialog that changes it.
//
// Both system components are optional and loaded from the system folder when needed:
// "PASSWORD.CPL" (its "VerifyScreenSavePwd") lives from the set-up to EndSaver, which frees
// it; "MPR.DLL" (its "PwdChangePasswordA") only for the one call.
#include "host/saver.h"
#include "host/system_library.h"

namespace {

// "PwdChangePasswordA" of MPR.DLL: provider key, parent window, two reserved values.
typedef DWORD(WINAPI* PwdChangePasswordFn)(LPCSTR provider, HWND parent, DWORD reserved,
                                           LPVOID reserved2);

// The desktop's "ScreenSaveUsePassword": true when present, at most 4 bytes and not 0.
bool DesktopWantsPassword() {
    HKEY key = nullptr;
    if (::RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &key) != ERROR_SUCCESS)
        return false;
    DWORD value = 0;
    DWORD size = sizeof(value);
    LONG result = ::RegQueryValueExA(key, "ScreenSaveUsePassword", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&value), &size);
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS && value != 0;
}

}  // namespace

// A password is required from here on exactly when verifyPassword is set.
void Saver::SetUpPasswordProvider() {
    if (!DesktopWantsPassword()) return;
    passwordModule = LoadSystemLibrary("PASSWORD.CPL");
    if (!passwordModule) return;
    verifyPassword = reinterpret_cast<VerifyScreenSavePwdFn>(
        reinterpret_cast<void*>(::GetProcAddress(passwordModule, "VerifyScreenSavePwd")));
}

// The devices go first so the provider's dialog shows over a normal desktop. While it is
// up, checkingPassword keeps input from coming back here and lets the cursor show.
void Saver::VerifyPasswordAndResume() {
    ReleaseDevices();
    for (UINT a = 0; a < adapterCount && a < kMaxAdapters; a++) {
        if (!adapters[a] || !adapters[a]->deviceWindow) continue;
        ::ShowWindow(adapters[a]->deviceWindow, SW_RESTORE);
        ::ShowWindow(adapters[a]->deviceWindow, SW_SHOWMAXIMIZED);
    }
    checkingPassword = 1;
    BOOL accepted = verifyPassword(mainWindow);
    checkingPassword = 0;
    if (accepted) {
        unitCount = 0;   // the devices are already released
        EndSaver();
        return;
    }
    ::SetCursor(nullptr);
    mouseMoves = 0;
    RecreateDevices();
}

void Saver::ChangePasswordNow() {
    HMODULE mpr = LoadSystemLibrary("MPR.DLL");
    if (!mpr) return;
    auto change = reinterpret_cast<PwdChangePasswordFn>(
        reinterpret_cast<void*>(::GetProcAddress(mpr, "PwdChangePasswordA")));
    if (change) change("SCRSAVE", parentWindow, 0, nullptr);
    ::FreeLibrary(mpr);
}
