// The display settings dialog (templates 200 and 201): per monitor, the adapter's name,
// how the scene can be rendered there, the hardware switch, whether the monitor shows the
// scene or nothing, and the full-screen mode; with several adapters also "ScreensSame".
//
// Owns the dialog's process-wide state: the copies of the adapter records and of
// screensSame taken when the dialog opens, which Cancel puts back. One dialog at a time.
// Edits go straight into the live records; storing them is the options dialog's business.
#include "display_settings/display_settings_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <initializer_list>
#include <new>

#include "host/saver.h"
#include "resource_ids.h"

namespace {

// ---- Dialog state ----------------------------------------------------------------------

struct DisplayDialogState {
    AdapterInfo* savedAdapterCopies[kMaxAdapters] = {};   // null when not taken
    DWORD savedScreensSame = 0;
};
DisplayDialogState dialogState;

void FreeSavedCopies() {
    for (AdapterInfo*& copy : dialogState.savedAdapterCopies) {
        delete copy;
        copy = nullptr;
    }
}

// A copy that cannot be allocated is skipped: Cancel then leaves that adapter's edits.
void TakeSavedCopies(const Saver& saver) {
    FreeSavedCopies();
    for (UINT a = 0; a < saver.adapterCount && a < kMaxAdapters; a++) {
        if (saver.adapters[a])
            dialogState.savedAdapterCopies[a] = new (std::nothrow) AdapterInfo(*saver.adapters[a]);
    }
    dialogState.savedScreensSame = saver.screensSame;
}

void RestoreSavedCopies(Saver& saver) {
    for (UINT a = 0; a < saver.adapterCount && a < kMaxAdapters; a++) {
        if (saver.adapters[a] && dialogState.savedAdapterCopies[a])
            *saver.adapters[a] = *dialogState.savedAdapterCopies[a];
    }
    saver.screensSame = dialogState.savedScreensSame;
}

// ---- Help texts --------------------------------------------------------------------------

// One row per case; -1 = any value.
struct HelpRow {
    signed char hasHardwareDevice, disableHardware, hardwareCompatible;
    signed char hasSoftwareDevice, softwareCompatible;
    UINT text;
};
const HelpRow kHelpRows[] = {
    {1, 0, 1, -1, -1, 2200},
    {1, 0, 0, 1, 1, 2201},
    {1, 0, 0, 1, 0, 2202},
    {1, 0, 0, 0, -1, 2203},
    {1, 1, -1, 1, 1, 2207},
    {1, 1, -1, 1, 0, 2208},
    {1, 1, -1, 0, -1, 2209},
    {0, -1, -1, 1, 1, 2204},
    {0, -1, -1, 1, 0, 2205},
    {0, -1, -1, 0, -1, 2206},
};
const UINT kNoAdapterHelp = 2206;

bool FlagMatches(signed char wanted, DWORD value) {
    return wanted < 0 || (wanted != 0) == (value != 0);
}

// ---- The page's monitor and adapter --------------------------------------------------------

HINSTANCE ResourceModule(const Saver& saver) {
    return saver.instance ? saver.instance : ::GetModuleHandleA(nullptr);
}

// Template 201: the monitor at the tab's position. Template 200 has no tabs and shows the
// first monitor that an adapter drives (the first entry when none does), so a detached
// first display device does not hide the one adapter there is.
const MonitorInfo* PageMonitor(const Saver& saver, HWND dialog, UINT tabQuery) {
    UINT count = saver.monitorCount < kMaxMonitors ? saver.monitorCount : kMaxMonitors;
    HWND tab = ::GetDlgItem(dialog, IDC_MONITOR_TAB);
    if (!tab) {
        for (UINT m = 0; m < count; m++) {
            if (saver.monitors[m].adapterOrdinal >= 0) return &saver.monitors[m];
        }
        return count ? &saver.monitors[0] : nullptr;
    }
    int index = int(::SendMessageA(tab, tabQuery, 0, 0));
    if (index < 0) index = int(::SendMessageA(tab, TCM_GETCURSEL, 0, 0));
    return index >= 0 && UINT(index) < count ? &saver.monitors[index] : nullptr;
}

AdapterInfo* PageAdapter(const Saver& saver, const MonitorInfo* monitor) {
    if (!monitor) return nullptr;
    int ordinal = monitor->adapterOrdinal;
    if (ordinal < 0 || UINT(ordinal) >= saver.adapterCount || UINT(ordinal) >= kMaxAdapters)
        return nullptr;
    return saver.adapters[ordinal];
}

const DeviceInfo* CurrentDevice(const AdapterInfo& adapter) {
    if (adapter.currentDevice >= adapter.deviceCount || adapter.currentDevice >= kMaxDeviceTypes)
        return nullptr;
    return &adapter.devices[adapter.currentDevice];
}

UINT ComboCount(const DeviceInfo& device) {
    return device.comboCount < kMaxCombos ? device.comboCount : kMaxCombos;
}

// The monitor's description, terminated whatever the record holds.
void MonitorName(const MonitorInfo* monitor, char (&name)[sizeof(MonitorInfo::adapterDescription)]) {
    name[0] = '\0';
    if (monitor) ::lstrcpynA(name, monitor->adapterDescription, sizeof(name));
}

// ---- Filling the page ------------------------------------------------------------------

void ShowRenderingSentence(const Saver& saver, HWND dialog, const AdapterInfo* a) {
    UINT id = IDS_RENDER_NONE;
    if (a && a->hasHardwareDevice && !a->disableHardware && a->hardwareCompatible)
        id = IDS_RENDER_HARDWARE;
    else if (a && a->hasSoftwareDevice && a->softwareCompatible)
        id = IDS_RENDER_SOFTWARE;
    char text[200] = {};
    ::LoadStringA(ResourceModule(saver), id, text, sizeof(text));
    ::SetDlgItemTextA(dialog, IDC_RENDERING, text);
}

void ShowHardwareBox(HWND dialog, const AdapterInfo* a) {
    bool offered = a && a->hasHardwareDevice && a->hardwareCompatible;
    ::EnableWindow(::GetDlgItem(dialog, IDC_DISABLE_HARDWARE), offered);
    ::CheckDlgButton(dialog, IDC_DISABLE_HARDWARE,
                     offered && a->disableHardware ? BST_CHECKED : BST_UNCHECKED);
}

// The stored leaveBlack stays as it is; an unusable monitor just shows "nothing".
void ShowMonitorUsage(HWND dialog, const AdapterInfo* a) {
    bool usable = a && ((a->hardwareCompatible && !a->disableHardware) || a->softwareCompatible);
    bool nothing = !usable || a->leaveBlack;
    ::CheckRadioButton(dialog, IDC_SHOW_SCENE, IDC_SHOW_NOTHING,
                       nothing ? IDC_SHOW_NOTHING : IDC_SHOW_SCENE);
    for (int id : {IDC_SHOW_NOTHING, IDC_SHOW_SCENE, IDC_USAGE_GROUP})
        ::EnableWindow(::GetDlgItem(dialog, id), usable);
}

void EnableModeControls(HWND dialog, bool enable) {
    for (int id : {IDC_MODE_LIST, IDC_MODE_LABEL, IDC_MODE_GROUP, IDC_MODE_NOTE})
        ::EnableWindow(::GetDlgItem(dialog, id), enable);
}

int AddModeEntry(HWND list, const char* text, LPARAM data) {
    int entry = int(::SendMessageA(list, CB_ADDSTRING, 0, LPARAM(text)));
    if (entry >= 0) ::SendMessageA(list, CB_SETITEMDATA, entry, data);
    return entry;
}

bool IsThirtyTwoBit(D3DFORMAT format) {
    return format == D3DFMT_R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_X8R8G8B8;
}

// "Automatic" first, then every combo of the adapter's current device in order; the
// entry matching the stored mode is selected, else "Automatic". The stored mode itself
// is left alone until the user picks an entry.
void FillModeList(HWND dialog, const AdapterInfo* a) {
    HWND list = ::GetDlgItem(dialog, IDC_MODE_LIST);
    ::SendMessageA(list, CB_RESETCONTENT, 0, 0);
    if (!a) return;
    char text[100] = {};
    ::GetDlgItemTextA(dialog, IDC_AUTOMATIC_TEXT, text, sizeof(text));
    AddModeEntry(list, text, -1);
    char format[100] = {};
    ::GetDlgItemTextA(dialog, IDC_MODE_FORMAT, format, sizeof(format));
    int selected = 0;
    const DeviceInfo* device = CurrentDevice(*a);
    for (UINT k = 0; device && k < ComboCount(*device); k++) {
        const DeviceCombo& combo = device->combos[k];
        char line[128];
        std::snprintf(line, sizeof(line), format, int(combo.width), int(combo.height),
                      IsThirtyTwoBit(combo.format) ? 32 : 16);
        int entry = AddModeEntry(list, line, LPARAM(k));
        if (combo.width == a->userWidth && combo.height == a->userHeight &&
            combo.format == a->userFormat)
            selected = entry;
    }
    ::SendMessageA(list, CB_SETCURSEL, selected, 0);
}

// ---- Commands ----------------------------------------------------------------------------

void ShowHelp(const Saver& saver, HWND dialog) {
    const MonitorInfo* monitor = PageMonitor(saver, dialog, TCM_GETCURSEL);
    char text[500] = {};
    ::LoadStringA(ResourceModule(saver), DisplayHelpTextId(monitor, PageAdapter(saver, monitor)),
                  text, sizeof(text));
    char caption[sizeof(MonitorInfo::adapterDescription)];
    MonitorName(monitor, caption);
    ::MessageBoxA(dialog, text, caption, MB_ICONINFORMATION);
}

void PickMode(HWND dialog, AdapterInfo& a) {
    HWND list = ::GetDlgItem(dialog, IDC_MODE_LIST);
    int entry = int(::SendMessageA(list, CB_GETCURSEL, 0, 0));
    if (entry < 0) return;
    const DeviceInfo* device = CurrentDevice(a);
    UINT k = UINT(::SendMessageA(list, CB_GETITEMDATA, entry, 0));
    if (entry == 0 || !device || k >= ComboCount(*device)) {
        a.userWidth = 0;
        a.userHeight = 0;
        a.userFormat = D3DFMT_UNKNOWN;
        return;
    }
    a.userWidth = device->combos[k].width;
    a.userHeight = device->combos[k].height;
    a.userFormat = device->combos[k].format;
}

// The commands that change one adapter; nothing happens on a monitor without one.
void AdapterCommand(Saver& saver, HWND dialog, WORD id, WORD code) {
    AdapterInfo* a = PageAdapter(saver, PageMonitor(saver, dialog, TCM_GETCURSEL));
    if (!a) return;
    switch (id) {
    case IDC_DISABLE_HARDWARE:
        a->disableHardware = ::IsDlgButtonChecked(dialog, IDC_DISABLE_HARDWARE) == BST_CHECKED;
        saver.FillMonitorPage(dialog);
        break;
    case IDC_SHOW_SCENE:
    case IDC_SHOW_NOTHING:
        a->leaveBlack = ::IsDlgButtonChecked(dialog, IDC_SHOW_NOTHING) == BST_CHECKED;
        EnableModeControls(dialog, !a->leaveBlack);
        break;
    case IDC_MODE_LIST:
        if (code == CBN_SELCHANGE) PickMode(dialog, *a);
        break;
    }
}

void OnCommand(Saver& saver, HWND dialog, WORD id, WORD code) {
    switch (id) {
    case IDOK:
        FreeSavedCopies();
        ::EndDialog(dialog, IDOK);
        break;
    case IDCANCEL:
        RestoreSavedCopies(saver);
        FreeSavedCopies();
        ::EndDialog(dialog, IDCANCEL);
        break;
    case IDC_HELP_BUTTON:
        ShowHelp(saver, dialog);
        break;
    case IDC_SCREENS_SAME:
        saver.screensSame = ::IsDlgButtonChecked(dialog, IDC_SCREENS_SAME) == BST_CHECKED;
        break;
    default:
        AdapterCommand(saver, dialog, id, code);
        break;
    }
}

// ---- Opening -------------------------------------------------------------------------------

// One tab per monitor, numbered from 1; monitors without an adapter get one too.
void InsertMonitorTabs(const Saver& saver, HWND dialog) {
    HWND tab = ::GetDlgItem(dialog, IDC_MONITOR_TAB);
    if (!tab) return;
    char format[100] = {};
    ::GetDlgItemTextA(dialog, IDC_MONITOR_FORMAT, format, sizeof(format));
    for (UINT m = 0; m < saver.monitorCount && m < kMaxMonitors; m++) {
        char label[128];
        std::snprintf(label, sizeof(label), format, int(m + 1));
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = label;
        item.iImage = -1;
        ::SendMessageA(tab, TCM_INSERTITEMA, m, LPARAM(&item));
    }
}

void OnInitDialog(Saver& saver, HWND dialog) {
    InsertMonitorTabs(saver, dialog);
    TakeSavedCopies(saver);
    saver.FillMonitorPage(dialog);
    ::CheckDlgButton(dialog, IDC_SCREENS_SAME, saver.screensSame ? BST_CHECKED : BST_UNCHECKED);
}

}  // namespace

UINT DisplayHelpTextId(const MonitorInfo* monitor, const AdapterInfo* a) {
    if (!monitor || !monitor->monitorHandle || !a) return kNoAdapterHelp;
    for (const HelpRow& row : kHelpRows) {
        if (FlagMatches(row.hasHardwareDevice, a->hasHardwareDevice) &&
            FlagMatches(row.disableHardware, a->disableHardware) &&
            FlagMatches(row.hardwareCompatible, a->hardwareCompatible) &&
            FlagMatches(row.hasSoftwareDevice, a->hasSoftwareDevice) &&
            FlagMatches(row.softwareCompatible, a->softwareCompatible))
            return row.text;
    }
    return kNoAdapterHelp;
}

INT_PTR CALLBACK DisplaySettingsDialogProc(HWND dialog, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    Saver* saver = Saver::instancePointer;
    if (!saver) return FALSE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(*saver, dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(*saver, dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        if (lParam && reinterpret_cast<const NMHDR*>(lParam)->code == UINT(TCN_SELCHANGE))
            saver->FillMonitorPage(dialog);
        return TRUE;
    case WM_DESTROY:
        FreeSavedCopies();   // closed some other way than OK or Cancel
        return FALSE;
    }
    return FALSE;
}

INT_PTR Saver::ShowDisplaySettingsDialog(HWND owner) {
    UINT id = adapterCount >= 2 && !singleScreenOnly ? IDD_DISPLAY_MULTI : IDD_DISPLAY_SINGLE;
    return ::DialogBoxParamA(ResourceModule(*this), MAKEINTRESOURCEA(id), owner,
                             DisplaySettingsDialogProc, 0);
}

void Saver::FillMonitorPage(HWND dialog) {
    const MonitorInfo* monitor = PageMonitor(*this, dialog, TCM_GETCURFOCUS);
    const AdapterInfo* adapter = PageAdapter(*this, monitor);
    char name[sizeof(MonitorInfo::adapterDescription)];
    MonitorName(monitor, name);
    ::SetDlgItemTextA(dialog, IDC_ADAPTER_NAME, name);
    ShowRenderingSentence(*this, dialog, adapter);
    ShowHardwareBox(dialog, adapter);
    ShowMonitorUsage(dialog, adapter);
    EnableModeControls(dialog, ::IsDlgButtonChecked(dialog, IDC_SHOW_NOTHING) != BST_CHECKED);
    FillModeList(dialog, adapter);
}
