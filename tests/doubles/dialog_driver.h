// Helpers that drive the program's dialogs in-process, the way a user would through the
// controls: dialogs are made modelessly from their templates with the program's own
// dialog procedure, and modal ones are watched and closed from a thread timer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Creates dialog `templateId` of this executable, hidden (hiding a shown window costs Wine
// two seconds without a window manager), without owner.
HWND OpenDialog(int templateId, DLGPROC procedure);
// Selects `item` in a combo box and tells the dialog, as a user's choice does.
void ChooseComboItem(HWND dialog, int id, int item);
// Selects tab `index` and tells the dialog.
void ChooseTab(HWND dialog, int tabId, int index);
void Click(HWND dialog, int id);
void Command(HWND dialog, int id);   // WM_COMMAND as from a button (IDOK, IDCANCEL, ...)
std::string ControlText(HWND dialog, int id);
std::string ComboItemText(HWND dialog, int id, int item);
std::string StringResource(UINT id);
bool IsEnabled(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
// A child of `dialog` whose text begins with `prefix`; null when there is none.
HWND FindChildByText(HWND dialog, const char* prefix);

// Runs `action`; while it runs (typically inside a modal loop), the first visible dialog
// or message box of this thread captioned `caption` is handed to `inspect` and then sent
// WM_COMMAND `closeCommand`. Returns whether such a window was seen.
bool WatchModal(const char* caption, const std::function<void(HWND)>& inspect, int closeCommand,
                const std::function<void()>& action);
