// Shared test helpers (see support.h).
#include "doubles/support.h"


ScratchRegistry::ScratchRegistry() {
    ::wsprintfA(path_, "Software\\CirraneTests\\%lu", ::GetCurrentProcessId());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_);
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path_, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &root_, nullptr);
    ::RegOverridePredefKey(HKEY_CURRENT_USER, root_);
}

ScratchRegistry::~ScratchRegistry() {
    ::RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (root_) ::RegCloseKey(root_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_);
}

// ---- Dialogs ------------------------------------------------------------------------
std::string ControlText(HWND dialog, int id) {
    char text[1024] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

std::string ComboItemText(HWND dialog, int id, int item) {
    char text[256] = {};
    if (Ask(dialog, id, CB_GETLBTEXTLEN, item) < LRESULT(sizeof(text))) Ask(dialog, id, CB_GETLBTEXT, item, LPARAM(text));
    return text;
}

std::string StringResource(UINT id) {
    char text[1024] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return text;
}

// After about five seconds without the window, whatever this thread shows is cancelled, so
// that a window that never appears fails the test instead of hanging it.
bool WatchModal(const char* caption, const std::function<void(HWND)>& inspect, int closeCommand,
                const std::function<void()>& action) {
    static struct {
        const char* caption;
        const std::function<void(HWND)>* inspect;
        int closeCommand, ticks;
        bool seen;
    } watch;
    watch = {caption, &inspect, closeCommand, 0, false};
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) CALLBACK {
        HWND shown = ::FindWindowA(nullptr, watch.caption);
        if (shown && ::IsWindowVisible(shown) && !watch.seen) {
            watch.seen = true;
            (*watch.inspect)(shown);
            ::PostMessageA(shown, WM_COMMAND, MAKEWPARAM(watch.closeCommand, BN_CLICKED), 0);
        } else if (!shown && ++watch.ticks == 250) {
            ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND window, LPARAM) CALLBACK -> BOOL {
                if (::IsWindowVisible(window)) ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                return TRUE;
            }, 0);
        }
    });
    action();
    ::KillTimer(nullptr, timer);
    return watch.seen;
}
