// The display settings dialog, made from its templates and driven through its controls:
// which template opens, what a page shows for each kind of monitor, how the edits reach
// the records, what Cancel puts back, and the help texts.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "display_settings/display_settings_dialog.h"
#include "doubles/support.h"
#include "host/saver.h"
#include "resource_ids.h"

namespace {

class DisplaySettingsDialog : public ::testing::Test {
protected:
    // An adapter record whose current device lists `combos`.
    AdapterInfo& AddAdapter(std::initializer_list<DeviceCombo> combos = {}) {
        records[saver.adapterCount] = std::make_unique<AdapterInfo>();
        AdapterInfo& a = *records[saver.adapterCount];
        a.hasHardwareDevice = a.hardwareCompatible = 1;
        a.hasSoftwareDevice = a.softwareCompatible = 1;
        a.deviceCount = 1;
        for (const DeviceCombo& combo : combos) a.devices[0].combos[a.devices[0].comboCount++] = combo;
        saver.adapters[saver.adapterCount++] = &a;
        return a;
    }
    void AddMonitor(const char* name, int adapterOrdinal) {
        MonitorInfo& m = saver.monitors[saver.monitorCount++];
        ::lstrcpyA(m.adapterDescription, name);
        m.monitorHandle = HMONITOR(INT_PTR(0x1000 + saver.monitorCount));
        m.adapterOrdinal = adapterOrdinal;
    }
    HWND Open(int templateId) {
        dialog = OpenDialog(templateId, DisplaySettingsDialogProc);
        return dialog;
    }
    void TearDown() override {
        if (dialog) ::DestroyWindow(dialog);
        for (AdapterInfo*& a : saver.adapters) a = nullptr;
    }

    Saver saver;
    std::unique_ptr<AdapterInfo> records[kMaxAdapters];
    HWND dialog = nullptr;
};

const DeviceCombo k640x480R5G6B5 = {640, 480, D3DFMT_R5G6B5, 0, D3DFMT_UNKNOWN};
const DeviceCombo k640x480X1R5G5B5 = {640, 480, D3DFMT_X1R5G5B5, 0, D3DFMT_UNKNOWN};
const DeviceCombo k800x600X8R8G8B8 = {800, 600, D3DFMT_X8R8G8B8, 0, D3DFMT_UNKNOWN};

LONG Style(HWND dialog, int id) { return ::GetWindowLongA(::GetDlgItem(dialog, id), GWL_STYLE); }

}  // namespace

TEST_F(DisplaySettingsDialog, TemplateFollowsTheAdapterCount) {
    AddAdapter();
    AddMonitor("First", 0);
    AddMonitor("Second", -1);
    bool single = false;
    bool seen = WatchModal("Display Settings", [&](HWND shown) {
        single = !::GetDlgItem(shown, IDC_MONITOR_TAB) && !::GetDlgItem(shown, IDC_SHOW_NOTHING) &&
                 !::GetDlgItem(shown, IDC_SCREENS_SAME);
    }, IDCANCEL, [&] { EXPECT_EQ(saver.ShowDisplaySettingsDialog(nullptr), IDCANCEL); });
    EXPECT_TRUE(seen);
    EXPECT_TRUE(single);

    AddAdapter();
    saver.monitors[1].adapterOrdinal = 1;
    AddMonitor("Third", -1);
    int tabs = 0;
    std::string label;
    seen = WatchModal("Display Settings", [&](HWND shown) {
        tabs = int(::SendDlgItemMessageA(shown, IDC_MONITOR_TAB, TCM_GETITEMCOUNT, 0, 0));
        char text[64] = {};
        TCITEMA item = {TCIF_TEXT, 0, 0, text, sizeof(text)};
        ::SendDlgItemMessageA(shown, IDC_MONITOR_TAB, TCM_GETITEMA, 2, LPARAM(&item));
        label = text;
    }, IDOK, [&] { EXPECT_EQ(saver.ShowDisplaySettingsDialog(nullptr), IDOK); });
    EXPECT_TRUE(seen);
    EXPECT_EQ(tabs, 3);
    EXPECT_EQ(label, "Monitor 3");
}

TEST_F(DisplaySettingsDialog, TemplatesKeepTheirHiddenTextsAndTabStops) {
    AddAdapter();
    AddAdapter();
    AddMonitor("First", 0);
    AddMonitor("Second", 1);
    ASSERT_TRUE(Open(IDD_DISPLAY_MULTI));   // its caption is checked where it opens modally
    for (int id : {IDC_MONITOR_FORMAT, IDC_AUTOMATIC_TEXT, IDC_MODE_FORMAT})
        EXPECT_FALSE(Style(dialog, id) & WS_VISIBLE) << id;
    for (int id : {IDOK, IDCANCEL, IDC_HELP_BUTTON, IDC_DISABLE_HARDWARE, IDC_MODE_LIST,
                   IDC_SCREENS_SAME, IDC_MONITOR_TAB})
        EXPECT_TRUE(Style(dialog, id) & WS_TABSTOP) << id;
    // A checked radio button becomes the group's tab stop; the other one must not be one.
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_SCENE));
    EXPECT_FALSE(Style(dialog, IDC_SHOW_NOTHING) & WS_TABSTOP);
    EXPECT_FALSE(Style(dialog, IDC_MODE_LIST) & CBS_SORT);
    EXPECT_EQ(Style(dialog, IDC_MODE_LIST) & 3, CBS_DROPDOWNLIST);
}

TEST_F(DisplaySettingsDialog, MonitorWithoutAdapterShowsADisabledPage) {
    AddAdapter({k800x600X8R8G8B8});
    AddAdapter({k800x600X8R8G8B8});
    AddMonitor("First", 0);
    AddMonitor("Detached", -1);
    AddMonitor("Third", 1);
    ASSERT_TRUE(Open(IDD_DISPLAY_MULTI));
    EXPECT_EQ(::SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETCOUNT, 0, 0), 2);

    ChooseTab(dialog, IDC_MONITOR_TAB, 1);
    EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), "Detached");
    EXPECT_EQ(ControlText(dialog, IDC_RENDERING), StringResource(IDS_RENDER_NONE));
    EXPECT_FALSE(IsChecked(dialog, IDC_DISABLE_HARDWARE));
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_NOTHING));
    EXPECT_FALSE(IsChecked(dialog, IDC_SHOW_SCENE));
    for (int id : {IDC_DISABLE_HARDWARE, IDC_SHOW_NOTHING, IDC_SHOW_SCENE, IDC_MODE_LIST,
                   IDC_MODE_LABEL, IDC_MODE_GROUP, IDC_MODE_NOTE})
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    EXPECT_EQ(::SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETCOUNT, 0, 0), 0);

    ChooseTab(dialog, IDC_MONITOR_TAB, 2);
    EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), "Third");
    EXPECT_TRUE(IsEnabled(dialog, IDC_MODE_LIST));
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_SCENE));
}

TEST_F(DisplaySettingsDialog, HardwareSwitchRefillsTheRenderingSentence) {
    AdapterInfo& a = AddAdapter();
    a.disableHardware = 1;
    AddMonitor("Only", 0);
    ASSERT_TRUE(Open(IDD_DISPLAY_SINGLE));
    EXPECT_EQ(ControlText(dialog, IDC_RENDERING), StringResource(IDS_RENDER_SOFTWARE));
    EXPECT_TRUE(IsChecked(dialog, IDC_DISABLE_HARDWARE));
    EXPECT_TRUE(IsEnabled(dialog, IDC_MODE_LIST));

    Click(dialog, IDC_DISABLE_HARDWARE);
    EXPECT_EQ(a.disableHardware, 0u);
    EXPECT_EQ(ControlText(dialog, IDC_RENDERING), StringResource(IDS_RENDER_HARDWARE));

    a.hasSoftwareDevice = 0;
    Click(dialog, IDC_DISABLE_HARDWARE);
    EXPECT_EQ(a.disableHardware, 1u);
    EXPECT_EQ(ControlText(dialog, IDC_RENDERING), StringResource(IDS_RENDER_NONE));
}

TEST_F(DisplaySettingsDialog, TwinSixteenBitEntriesSelectTheirOwnFormats) {
    AdapterInfo& a = AddAdapter({k640x480R5G6B5, k640x480X1R5G5B5, k800x600X8R8G8B8});
    a.userWidth = 640;
    a.userHeight = 480;
    a.userFormat = D3DFMT_X1R5G5B5;
    AddMonitor("Only", 0);
    ASSERT_TRUE(Open(IDD_DISPLAY_SINGLE));
    ASSERT_EQ(::SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETCOUNT, 0, 0), 4);
    const char* texts[] = {"Automatic", "640 by 480, 16 bit color", "640 by 480, 16 bit color",
                           "800 by 600, 32 bit color"};
    for (int i = 0; i < 4; i++) EXPECT_EQ(ComboItemText(dialog, IDC_MODE_LIST, i), texts[i]);
    EXPECT_EQ(::SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETCURSEL, 0, 0), 2);

    ChooseComboItem(dialog, IDC_MODE_LIST, 1);
    EXPECT_EQ(a.userFormat, D3DFMT_R5G6B5);
    ChooseComboItem(dialog, IDC_MODE_LIST, 2);
    EXPECT_EQ(a.userFormat, D3DFMT_X1R5G5B5);
    ChooseComboItem(dialog, IDC_MODE_LIST, 3);
    EXPECT_EQ(a.userWidth * a.userHeight, 800u * 600u);
    EXPECT_EQ(a.userFormat, D3DFMT_X8R8G8B8);
    ChooseComboItem(dialog, IDC_MODE_LIST, 0);
    EXPECT_EQ(a.userWidth + a.userHeight + UINT(a.userFormat), 0u);
}

// The single template shows the monitor that has the adapter.
TEST_F(DisplaySettingsDialog, UnmatchedStoredModeShowsAutomaticButKeepsItsValues) {
    AdapterInfo& a = AddAdapter({k640x480R5G6B5, k800x600X8R8G8B8});
    a.userWidth = 1024;
    a.userHeight = 768;
    a.userFormat = D3DFMT_X8R8G8B8;
    AddMonitor("Detached", -1);
    AddMonitor("Driven", 0);
    ASSERT_TRUE(Open(IDD_DISPLAY_SINGLE));
    EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), "Driven");
    EXPECT_EQ(ControlText(dialog, IDC_RENDERING), StringResource(IDS_RENDER_HARDWARE));
    EXPECT_EQ(::SendDlgItemMessageA(dialog, IDC_MODE_LIST, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(a.userWidth * a.userHeight, 1024u * 768u);
    EXPECT_EQ(a.userFormat, D3DFMT_X8R8G8B8);
}

TEST_F(DisplaySettingsDialog, CancelRestoresTheRecordsAndOkKeepsThem) {
    AdapterInfo& first = AddAdapter({k640x480R5G6B5});
    AdapterInfo& second = AddAdapter({k800x600X8R8G8B8});
    AddMonitor("First", 0);
    AddMonitor("Second", 1);
    for (int ok = 0; ok < 2; ok++) {
        ASSERT_TRUE(Open(IDD_DISPLAY_MULTI));
        ChooseTab(dialog, IDC_MONITOR_TAB, 1);
        Click(dialog, IDC_SHOW_NOTHING);
        EXPECT_EQ(second.leaveBlack, 1u);
        for (int id : {IDC_MODE_LIST, IDC_MODE_LABEL, IDC_MODE_GROUP, IDC_MODE_NOTE})
            EXPECT_FALSE(IsEnabled(dialog, id)) << id;
        ChooseTab(dialog, IDC_MONITOR_TAB, 0);
        ChooseComboItem(dialog, IDC_MODE_LIST, 1);
        Click(dialog, IDC_SCREENS_SAME);
        EXPECT_EQ(saver.screensSame, 1u);
        EXPECT_EQ(first.userWidth, 640u);

        Command(dialog, ok ? IDOK : IDCANCEL);
        EXPECT_EQ(second.leaveBlack, DWORD(ok));
        EXPECT_EQ(saver.screensSame, DWORD(ok));
        EXPECT_EQ(first.userWidth, ok ? 640u : 0u);
        ::DestroyWindow(dialog);
        dialog = nullptr;
    }
}

TEST_F(DisplaySettingsDialog, HelpTextsFollowTheAdapterFlags) {
    struct Row {
        DWORD hasHardware, disableHardware, hardwareCompatible, hasSoftware, softwareCompatible;
        UINT text;
    };
    const Row rows[] = {
        {1, 0, 1, 0, 0, 2200}, {1, 0, 1, 1, 1, 2200}, {1, 0, 0, 1, 1, 2201},
        {1, 0, 0, 1, 0, 2202}, {1, 0, 0, 0, 1, 2203}, {1, 1, 1, 1, 1, 2207},
        {1, 1, 0, 1, 1, 2207}, {1, 1, 1, 1, 0, 2208}, {1, 1, 1, 0, 0, 2209},
        {0, 1, 1, 1, 1, 2204}, {0, 0, 0, 1, 0, 2205}, {0, 0, 1, 0, 1, 2206},
    };
    MonitorInfo monitor = {};
    monitor.monitorHandle = HMONITOR(INT_PTR(0x1001));
    for (const Row& row : rows) {
        AdapterInfo a = {};
        a.hasHardwareDevice = row.hasHardware, a.disableHardware = row.disableHardware;
        a.hardwareCompatible = row.hardwareCompatible, a.hasSoftwareDevice = row.hasSoftware;
        a.softwareCompatible = row.softwareCompatible;
        EXPECT_EQ(DisplayHelpTextId(&monitor, &a), row.text) << row.text;
        if (row.text == 2200) {   // a capable adapter without a monitor, and no adapter
            EXPECT_EQ(DisplayHelpTextId(&monitor, nullptr), 2206u);
            MonitorInfo detached = {};
            EXPECT_EQ(DisplayHelpTextId(&detached, &a), 2206u);
        }
    }
}

TEST_F(DisplaySettingsDialog, HelpButtonShowsTheTextUnderTheAdapterName) {
    AdapterInfo& a = AddAdapter();
    a.disableHardware = 1;
    a.hasSoftwareDevice = 0;
    AddMonitor("Wine Adapter", 0);
    ASSERT_TRUE(Open(IDD_DISPLAY_SINGLE));
    char shown[600] = {};
    bool seen = WatchModal("Wine Adapter", [&](HWND box) {
        ::GetWindowTextA(FindChildByText(box, "This video adapter supports"), shown, sizeof(shown));
    }, IDOK, [&] { Click(dialog, IDC_HELP_BUTTON); });
    EXPECT_TRUE(seen);
    EXPECT_EQ(std::string(shown), StringResource(2209));
}
