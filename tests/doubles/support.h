// Shared test helpers: a scratch HKEY_CURRENT_USER, and driving the program's dialogs
// in-process the way a user would through the controls.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

class ScratchRegistry {
public:
    ScratchRegistry();
    ~ScratchRegistry();
    ScratchRegistry(const ScratchRegistry&) = delete;
    ScratchRegistry& operator=(const ScratchRegistry&) = delete;

private:
    HKEY root_ = nullptr;
    char path_[64] = {};
};

// Hidden: hiding a shown window costs Wine two seconds without a window manager.
inline HWND OpenDialog(int templateId, DLGPROC procedure) {
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, procedure, 0);
}
inline void ChooseComboItem(HWND dialog, int id, int item) {
    ::SendDlgItemMessageA(dialog, id, CB_SETCURSEL, item, 0);
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), LPARAM(::GetDlgItem(dialog, id)));
}
inline void ChooseTab(HWND dialog, int id, int item) {
    ::SendDlgItemMessageA(dialog, id, TCM_SETCURSEL, item, 0);
    NMHDR header = {::GetDlgItem(dialog, id), UINT_PTR(id), UINT(TCN_SELCHANGE)};
    ::SendMessageA(dialog, WM_NOTIFY, id, LPARAM(&header));
}
inline void Click(HWND dialog, int id) { ::SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }
inline void Command(HWND dialog, int id) {
    ::SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(::GetDlgItem(dialog, id)));
}
inline LRESULT Ask(HWND dialog, int id, UINT message, WPARAM w = 0, LPARAM l = 0) {
    return ::SendDlgItemMessageA(dialog, id, message, w, l);
}
inline bool IsEnabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
inline bool IsChecked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
std::string ControlText(HWND dialog, int id);
std::string ComboItemText(HWND dialog, int id, int item);
std::string StringResource(UINT id);

// Runs `action`; the first visible window captioned `caption` meanwhile goes to `inspect`,
// then gets WM_COMMAND `closeCommand`. Returns whether such a window was seen.
bool WatchModal(const char* caption, const std::function<void(HWND)>& inspect, int closeCommand,
                const std::function<void()>& action);
