// The options dialog driven through its controls, with a scratch registry.
#include <gtest/gtest.h>

#include "doubles/support.h"
#include "resource_ids.h"
#include "scene/sky_scene.h"

namespace {

const char kKey[] = "Software\\Orvane\\Cirrane";

class OptionsDialog : public ::testing::Test {
protected:
    void Store(const char* name, DWORD value) {
        ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, REG_DWORD, &value, sizeof(value));
    }
    DWORD Stored(const char* name) {
        DWORD value = 0xDEAD, size = sizeof(value);
        ::RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
        return value;
    }
    void Open() {
        scene.LoadSettings();
        dialog = OpenDialog(IDD_OPTIONS, SkyScene::OptionsDialogProc);
        ASSERT_TRUE(dialog);
    }
    void TearDown() override {
        if (dialog) ::DestroyWindow(dialog);
    }

    ScratchRegistry registry;
    SkyScene scene;
    HWND dialog = nullptr;
};

}  // namespace

TEST_F(OptionsDialog, OkStoresEveryValueAndTheSliderShowsTheStoredLevel) {
    Open();   // a first run: nothing stored yet
    ChooseComboItem(dialog, IDC_CUBE_ANIMATION, 1);
    Command(dialog, IDOK);
    const std::pair<const char*, DWORD> stored[] = {{"Sky Speed", 2}, {"Cube View", 1}, {"Cam View", 0},
                                                    {"ScreensSame", 0}};
    for (auto [name, value] : stored) EXPECT_EQ(Stored(name), value) << name;
    const DWORD cases[][2] = {{10, 9}, {7, 7}, {0, 0}};
    for (const auto& c : cases) {
        ::DestroyWindow(dialog);
        Store("Sky Speed", c[0]);
        Open();
        EXPECT_EQ(Ask(dialog, IDC_SKY_SPEED, TBM_GETPOS), LRESULT(c[1]));
        EXPECT_EQ(Ask(dialog, IDC_SKY_SPEED, TBM_GETRANGEMAX), 9);
        Command(dialog, IDOK);
        EXPECT_EQ(Stored("Sky Speed"), c[1]);
        EXPECT_FLOAT_EQ(scene.skySpeed, float(c[1]) * 0.1f);
    }
}

TEST_F(OptionsDialog, CombosApplyAtOnceAndCancelReturnsToTheStoredChoice) {
    Store("Cam View", 1);
    Open();
    EXPECT_EQ(ComboItemText(dialog, IDC_CAMERA_VIEW, 2), "Circular");
    EXPECT_EQ(Ask(dialog, IDC_CAMERA_VIEW, CB_GETCURSEL), 1);
    ChooseComboItem(dialog, IDC_CAMERA_VIEW, 2);
    ChooseComboItem(dialog, IDC_CUBE_ANIMATION, 1);
    EXPECT_EQ(scene.cameraPath, 2u);
    EXPECT_EQ(scene.cubeAnimation, 1u);
    Command(dialog, IDCANCEL);
    EXPECT_EQ(scene.cameraPath, 1u);
    EXPECT_EQ(scene.cubeAnimation, 0u);
    EXPECT_EQ(Stored("Cam View"), 1u);
}

TEST_F(OptionsDialog, ModalToTheNamedWindowElseToTheForegroundOne) {
    HWND front = ::CreateWindowExA(0, "STATIC", "front", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr,
                                   nullptr, nullptr, nullptr);
    HWND named = ::CreateWindowExA(0, "STATIC", "named", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(front);
    for (auto [parent, owner] : {std::pair(HWND(nullptr), front), std::pair(named, named)}) {
        scene.parentWindow = parent;
        HWND seen = nullptr;
        EXPECT_TRUE(WatchModal("Cirrane", [&](HWND shown) { seen = ::GetWindow(shown, GW_OWNER); }, IDCANCEL,
                               [&] { scene.ShowOptions(); }));
        EXPECT_EQ(seen, owner);
    }
    ::DestroyWindow(named);
    ::DestroyWindow(front);
}

// The dialog manager answers a change of dpi by giving the dialog and every control a font
// made for the new dpi; the links then get theirs back, underlined, and the old one goes.
TEST_F(OptionsDialog, LinksUnderlineTheDialogsFontAgainAfterAChangeOfDpi) {
    Open();
    auto face = [](LRESULT font) {
        LOGFONTA face = {};
        ::GetObjectA(HFONT(font), sizeof(face), &face);
        return face;
    };
    const LRESULT own = ::SendMessageA(dialog, WM_GETFONT, 0, 0);
    HFONT first = HFONT(Ask(dialog, IDC_LINK_HOME, WM_GETFONT));
    for (int link : {IDC_LINK_HOME, IDC_LINK_SAVERS, IDC_LINK_DOWNLOAD}) Ask(dialog, link, WM_SETFONT, own);
    RECT place;
    ::GetWindowRect(dialog, &place);
    ::SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(144, 144), LPARAM(&place));
    for (MSG message; ::PeekMessageA(&message, dialog, 0, 0, PM_REMOVE);) ::DispatchMessageA(&message);
    for (int link : {IDC_LINK_HOME, IDC_LINK_SAVERS, IDC_LINK_DOWNLOAD}) {
        LOGFONTA shown = face(Ask(dialog, link, WM_GETFONT));
        EXPECT_TRUE(shown.lfUnderline);
        EXPECT_EQ(shown.lfHeight, face(own).lfHeight);
        EXPECT_STREQ(shown.lfFaceName, face(own).lfFaceName);
    }
    EXPECT_EQ(::GetObjectType(first), 0u);
}
