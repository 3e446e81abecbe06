// Shared test helpers.
//
// ScratchRegistry maps HKEY_CURRENT_USER of this process to a fresh scratch key for its
// lifetime, so settings tests never see or touch the real values.
//
// The dialog helpers drive the program's dialogs in-process, the way a user would through
// the controls: dialogs are made modelessly from their templates with the program's own
// dialog procedure, and modal ones are watched and closed from a thread timer.
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

// Dialog `templateId` of this executable, hidden (hiding a shown window costs Wine two
// seconds without a window manager), without owner.
inline HWND OpenDialog(int templateId, DLGPROC procedure) {
    return ::CreateDialogParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), nullptr, procedure, 0);
}
// Selects `item` of a combo box, or tab `item` of a tab control, and tells the dialog.
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
// WM_COMMAND as from a button (IDOK, IDCANCEL, ...).
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
// A child of `dialog` whose text begins with `prefix`; null when there is none.
HWND FindChildByText(HWND dialog, const char* prefix);

// Runs `action`; while it runs (typically inside a modal loop), the first visible dialog
// or message box of this thread captioned `caption` is handed to `inspect` and then sent
// WM_COMMAND `closeCommand`. Returns whether such a window was seen.
bool WatchModal(const char* caption, const std::function<void(HWND)>& inspect, int closeCommand,
                const std::function<void()>& action);
