// The display settings dialog, made from its templates and driven through its controls.
#include <gtest/gtest.h>

#include <utility>

#include "display_settings/display_settings_dialog.h"
#include "doubles/support.h"
#include "host/saver.h"
#include "resource_ids.h"

namespace {

const DeviceCombo k640x480R5G6B5 = {640, 480, D3DFMT_R5G6B5, 0, D3DFMT_UNKNOWN};
const DeviceCombo k640x480X1R5G5B5 = {640, 480, D3DFMT_X1R5G5B5, 0, D3DFMT_UNKNOWN};
const DeviceCombo k800x600X8R8G8B8 = {800, 600, D3DFMT_X8R8G8B8, 0, D3DFMT_UNKNOWN};

class DisplaySettingsDialog : public ::testing::Test {
protected:
    AdapterInfo& AddAdapter(std::initializer_list<DeviceCombo> combos = {}) {
        AdapterInfo& a = records[saver.adapterCount];
        a.hasHardwareDevice = a.hardwareCompatible = a.hasSoftwareDevice = a.softwareCompatible = 1;
        a.deviceCount = 1;
        for (const DeviceCombo& combo : combos) a.devices[0].combos[a.devices[0].comboCount++] = combo;
        return *(saver.adapters[saver.adapterCount++] = &a);
    }
    void AddMonitors(std::initializer_list<std::pair<const char*, int>> monitors) {
        for (const auto& [name, adapterOrdinal] : monitors) {
            MonitorInfo& m = saver.monitors[saver.monitorCount++];
            ::lstrcpyA(m.adapterDescription, name);
            m.monitorHandle = HMONITOR(INT_PTR(0x1000 + saver.monitorCount));
            m.adapterOrdinal = adapterOrdinal;
        }
    }
    void Open(int templateId) { ASSERT_TRUE(dialog = OpenDialog(templateId, DisplaySettingsDialogProc)); }
    LRESULT Modes(UINT message) { return Ask(dialog, IDC_MODE_LIST, message); }
    std::string Rendering() { return ControlText(dialog, IDC_RENDERING); }
    void ExpectModeControlsEnabled(bool enabled) {
        for (int id : {IDC_MODE_LIST, IDC_MODE_LABEL, IDC_MODE_GROUP, IDC_MODE_NOTE})
            EXPECT_EQ(IsEnabled(dialog, id), enabled) << id;
    }
    void TearDown() override { ::DestroyWindow(dialog); }

    Saver saver;
    AdapterInfo records[kMaxAdapters] = {};
    HWND dialog = nullptr;
};

}  // namespace

TEST_F(DisplaySettingsDialog, MonitorWithoutAdapterShowsADisabledPage) {
    AddAdapter({k800x600X8R8G8B8});
    AddAdapter({k800x600X8R8G8B8});
    AddMonitors({{"First", 0}, {"Detached", -1}, {"Third", 1}});
    Open(IDD_DISPLAY_MULTI);
    EXPECT_EQ(Modes(CB_GETCOUNT), 2);
    ChooseTab(dialog, IDC_MONITOR_TAB, 1);
    EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), "Detached");
    EXPECT_EQ(Rendering(), StringResource(IDS_RENDER_NONE));
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_NOTHING));
    EXPECT_FALSE(IsChecked(dialog, IDC_SHOW_SCENE) || IsChecked(dialog, IDC_DISABLE_HARDWARE));
    for (int id : {IDC_DISABLE_HARDWARE, IDC_SHOW_NOTHING, IDC_SHOW_SCENE})
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    ExpectModeControlsEnabled(false);
    EXPECT_EQ(Modes(CB_GETCOUNT), 0);
    ChooseTab(dialog, IDC_MONITOR_TAB, 2);
    EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), "Third");
    ExpectModeControlsEnabled(true);
    EXPECT_TRUE(IsChecked(dialog, IDC_SHOW_SCENE));
}

// A stored mode that is not offered shows "Automatic" but keeps its values.
TEST_F(DisplaySettingsDialog, SinglePageKeepsAnUnmatchedModeAndFollowsTheHardwareSwitch) {
    AdapterInfo& a = AddAdapter({k640x480R5G6B5, k800x600X8R8G8B8});
    a.userWidth = 1024, a.userHeight = 768, a.userFormat = D3DFMT_X8R8G8B8;
    AddMonitors({{"Detached", -1}, {"Driven", 0}});
    Open(IDD_DISPLAY_SINGLE);
    EXPECT_EQ(ControlText(dialog, IDC_ADAPTER_NAME), "Driven");
    EXPECT_EQ(Rendering(), StringResource(IDS_RENDER_HARDWARE));
    EXPECT_EQ(Modes(CB_GETCURSEL), 0);
    EXPECT_EQ(a.userWidth * a.userHeight, 1024u * 768u);
    EXPECT_EQ(a.userFormat, D3DFMT_X8R8G8B8);
    Click(dialog, IDC_DISABLE_HARDWARE);
    EXPECT_EQ(a.disableHardware, 1u);
    EXPECT_TRUE(IsChecked(dialog, IDC_DISABLE_HARDWARE));
    EXPECT_EQ(Rendering(), StringResource(IDS_RENDER_SOFTWARE));
    Click(dialog, IDC_DISABLE_HARDWARE);
    EXPECT_EQ(a.disableHardware, 0u);
    EXPECT_EQ(Rendering(), StringResource(IDS_RENDER_HARDWARE));
    a.hasSoftwareDevice = 0;
    Click(dialog, IDC_DISABLE_HARDWARE);
    EXPECT_EQ(Rendering(), StringResource(IDS_RENDER_NONE));
}

TEST_F(DisplaySettingsDialog, TwinSixteenBitEntriesSelectTheirOwnFormats) {
    AdapterInfo& a = AddAdapter({k640x480R5G6B5, k640x480X1R5G5B5, k800x600X8R8G8B8});
    a.userWidth = 640, a.userHeight = 480, a.userFormat = D3DFMT_X1R5G5B5;
    AddMonitors({{"Only", 0}});
    Open(IDD_DISPLAY_SINGLE);
    const char* texts[] = {"Automatic", "640 by 480, 16 bit color", "640 by 480, 16 bit color",
                           "800 by 600, 32 bit color"};
    ASSERT_EQ(Modes(CB_GETCOUNT), 4);
    for (int i = 0; i < 4; i++) EXPECT_EQ(ComboItemText(dialog, IDC_MODE_LIST, i), texts[i]);
    EXPECT_EQ(Modes(CB_GETCURSEL), 2);
    const DeviceCombo chosen[] = {{}, k640x480R5G6B5, k640x480X1R5G5B5, k800x600X8R8G8B8};
    for (int i : {1, 2, 3, 0}) {
        ChooseComboItem(dialog, IDC_MODE_LIST, i);
        EXPECT_EQ(a.userWidth * a.userHeight, chosen[i].width * chosen[i].height) << i;
        EXPECT_EQ(a.userFormat, chosen[i].format) << i;
    }
}

// OK keeping the edits in their monitors' records is run end to end on two monitors.
TEST_F(DisplaySettingsDialog, CancelRestoresTheRecords) {
    AdapterInfo& first = AddAdapter({k640x480R5G6B5});
    AdapterInfo& second = AddAdapter({k800x600X8R8G8B8});
    AddMonitors({{"First", 0}, {"Second", 1}});
    Open(IDD_DISPLAY_MULTI);
    ChooseTab(dialog, IDC_MONITOR_TAB, 1);
    Click(dialog, IDC_SHOW_NOTHING);
    EXPECT_EQ(second.leaveBlack, 1u);
    ExpectModeControlsEnabled(false);
    ChooseTab(dialog, IDC_MONITOR_TAB, 0);
    ChooseComboItem(dialog, IDC_MODE_LIST, 1);
    Click(dialog, IDC_SCREENS_SAME);
    EXPECT_EQ(saver.screensSame, 1u);
    EXPECT_EQ(first.userWidth, 640u);
    Command(dialog, IDCANCEL);
    EXPECT_EQ(second.leaveBlack, 0u);
    EXPECT_EQ(saver.screensSame, 0u);
    EXPECT_EQ(first.userWidth, 0u);
}

// Flags: has hardware, hardware disabled, hardware compatible, has software, software
// compatible. Without a monitor or an adapter the text is 2206.
TEST_F(DisplaySettingsDialog, HelpTextsFollowTheAdapterFlags) {
    const std::pair<const char*, UINT> rows[] = {
        {"10100", 2200}, {"10111", 2200}, {"10011", 2201}, {"10010", 2202}, {"10001", 2203},
        {"11111", 2207}, {"11011", 2207}, {"11110", 2208}, {"11100", 2209}, {"01111", 2204},
        {"00010", 2205}, {"00101", 2206},
    };
    MonitorInfo monitor = {}, detached = {};
    monitor.monitorHandle = HMONITOR(INT_PTR(0x1001));
    for (const auto& [flags, text] : rows) {
        AdapterInfo a = {};
        DWORD* fields[] = {&a.hasHardwareDevice, &a.disableHardware, &a.hardwareCompatible,
                           &a.hasSoftwareDevice, &a.softwareCompatible};
        for (int i = 0; i < 5; i++) *fields[i] = flags[i] == '1';
        EXPECT_EQ(DisplayHelpTextId(&monitor, &a), text) << flags;
        EXPECT_EQ(DisplayHelpTextId(&detached, &a), 2206u);
    }
    EXPECT_EQ(DisplayHelpTextId(&monitor, nullptr), 2206u);
}
