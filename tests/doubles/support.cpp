// Shared test helpers (see support.h).
#include "doubles/support.h"

#include <cstring>
#include <utility>

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

namespace {

// The first window of this thread (or child of `parent`) for which `match` holds.
using WindowMatch = std::function<bool(HWND, const char*)>;
HWND FindWindowOf(HWND parent, const WindowMatch& match) {
    std::pair<const WindowMatch*, HWND> search = {&match, nullptr};
    WNDENUMPROC visit = [](HWND window, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<std::pair<const WindowMatch*, HWND>*>(data);
        char text[256] = {};
        ::GetWindowTextA(window, text, sizeof(text));
        if (!(*search->first)(window, text)) return TRUE;
        search->second = window;
        return FALSE;
    };
    if (parent)
        ::EnumChildWindows(parent, visit, LPARAM(&search));
    else
        ::EnumThreadWindows(::GetCurrentThreadId(), visit, LPARAM(&search));
    return search.second;
}

struct Watch {
    const char* caption;
    const std::function<void(HWND)>* inspect;
    int closeCommand, ticks;
    bool seen;
} watch;

// Inspects and closes the watched window once it shows. After about five seconds without
// it, cancels whatever this thread shows, so that a window that never appears fails the
// test instead of hanging it.
void CALLBACK WatchTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowOf(nullptr, [](HWND w, const char* text) {
        return ::IsWindowVisible(w) && std::strcmp(text, watch.caption) == 0;
    });
    if (window && !watch.seen) {
        watch.seen = true;
        (*watch.inspect)(window);
        ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(watch.closeCommand, BN_CLICKED), 0);
    } else if (!window && ++watch.ticks == 250) {
        ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND shown, LPARAM) -> BOOL {
            if (::IsWindowVisible(shown)) ::PostMessageA(shown, WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }, 0);
    }
}

}  // namespace

HWND FindChildByText(HWND dialog, const char* prefix) {
    return FindWindowOf(dialog, [prefix](HWND, const char* text) {
        return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
    });
}

bool WatchModal(const char* caption, const std::function<void(HWND)>& inspect, int closeCommand,
                const std::function<void()>& action) {
    watch = Watch{caption, &inspect, closeCommand, 0, false};
    UINT_PTR timer = ::SetTimer(nullptr, 0, 20, WatchTick);
    action();
    ::KillTimer(nullptr, timer);
    return watch.seen;
}
