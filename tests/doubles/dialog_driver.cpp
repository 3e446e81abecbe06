// Dialog driving helpers (see dialog_driver.h).
#include "doubles/dialog_driver.h"

#include <commctrl.h>

#include <cstring>
#include <utility>

HWND OpenDialog(int templateId, DLGPROC procedure) {
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr,
                                procedure, 0);
}

void ChooseComboItem(HWND dialog, int id, int item) {
    HWND combo = ::GetDlgItem(dialog, id);
    ::SendMessageA(combo, CB_SETCURSEL, item, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(combo));
}

void ChooseTab(HWND dialog, int tabId, int index) {
    HWND tab = ::GetDlgItem(dialog, tabId);
    ::SendMessageA(tab, TCM_SETCURSEL, index, 0);
    NMHDR header = {tab, UINT_PTR(tabId), UINT(TCN_SELCHANGE)};
    ::SendMessageA(dialog, WM_NOTIFY, tabId, LPARAM(&header));
}

void Click(HWND dialog, int id) { ::SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

void Command(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(::GetDlgItem(dialog, id)));
}

std::string ControlText(HWND dialog, int id) {
    char text[1024] = {};
    ::GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

std::string ComboItemText(HWND dialog, int id, int item) {
    char text[256] = {};
    if (::SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, item, 0) >= LRESULT(sizeof(text)))
        return {};
    ::SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, item, LPARAM(text));
    return text;
}

std::string StringResource(UINT id) {
    char text[1024] = {};
    ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof(text));
    return text;
}

bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

namespace {

struct Watch {
    const char* caption = nullptr;
    const std::function<void(HWND)>* inspect = nullptr;
    int closeCommand = 0;
    bool seen = false;
    UINT_PTR timer = 0;
    int ticks = 0;
};
Watch watch;

BOOL CALLBACK MatchWatched(HWND window, LPARAM found) {
    char caption[256] = {};
    ::GetWindowTextA(window, caption, sizeof(caption));
    if (!::IsWindowVisible(window) || std::strcmp(caption, watch.caption) != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

BOOL CALLBACK CancelVisible(HWND window, LPARAM) {
    if (::IsWindowVisible(window)) ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// Gives up after about five seconds, cancelling whatever this thread shows, so that a
// window that never appears fails the test instead of hanging it.
void CALLBACK WatchTick(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchWatched, LPARAM(&window));
    if (!window && ++watch.ticks > 250) {
        ::KillTimer(nullptr, watch.timer);
        ::EnumThreadWindows(::GetCurrentThreadId(), CancelVisible, 0);
    }
    if (!window || watch.seen) return;
    watch.seen = true;
    ::KillTimer(nullptr, watch.timer);
    (*watch.inspect)(window);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(watch.closeCommand, BN_CLICKED), 0);
}

}  // namespace

HWND FindChildByText(HWND dialog, const char* prefix) {
    std::pair<const char*, HWND> search = {prefix, nullptr};
    ::EnumChildWindows(dialog, [](HWND child, LPARAM data) -> BOOL {
        auto* search = reinterpret_cast<std::pair<const char*, HWND>*>(data);
        char text[256] = {};
        ::GetWindowTextA(child, text, sizeof(text));
        if (std::strncmp(text, search->first, std::strlen(search->first)) != 0) return TRUE;
        search->second = child;
        return FALSE;
    }, LPARAM(&search));
    return search.second;
}

bool WatchModal(const char* caption, const std::function<void(HWND)>& inspect, int closeCommand,
                const std::function<void()>& action) {
    watch = Watch{caption, &inspect, closeCommand, false, 0, 0};
    watch.timer = ::SetTimer(nullptr, 0, 20, WatchTick);
    action();
    ::KillTimer(nullptr, watch.timer);
    return watch.seen;
}
