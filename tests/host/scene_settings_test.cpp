// The scene's three settings in the registry: defaults, ranges, round trips, and values
// of the wrong size or type, with HKEY_CURRENT_USER redirected to a scratch key.
#include <gtest/gtest.h>

#include <cstring>

#include "doubles/support.h"
#include "scene/sky_scene.h"

namespace {

const char kKey[] = "Software\\Orvane\\Cirrane";

class SceneSettings : public ::testing::Test {
protected:
    void SetValue(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                    nullptr, &key, nullptr), ERROR_SUCCESS);
        ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
        ::RegCloseKey(key);
    }
    void SetDword(const char* name, DWORD value) { SetValue(name, REG_DWORD, &value, 4); }
    bool GetDword(const char* name, DWORD* value) {
        DWORD size = sizeof(*value);
        return ::RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, value,
                              &size) == ERROR_SUCCESS;
    }

    ScratchRegistry registry;
};

}  // namespace

// The options dialog's tests store a first run's values.
TEST_F(SceneSettings, FirstRunGivesDefaultsAndCreatesTheKey) {
    SkyScene scene;
    scene.skySpeed = 0.9f;
    scene.cubeAnimation = 1;
    scene.cameraPath = 2;
    scene.LoadSettings();
    EXPECT_FLOAT_EQ(scene.skySpeed, 0.2f);
    EXPECT_EQ(scene.cubeAnimation, 0u);
    EXPECT_EQ(scene.cameraPath, 0u);
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    ::RegCloseKey(key);
    DWORD value = 0;
    EXPECT_FALSE(GetDword("Sky Speed", &value));
}

// Every level and choice in range survives a save and a load; one past the top, or far
// past it, gives the defaults.
TEST_F(SceneSettings, ValuesInRangeRoundTripAndOthersGiveDefaults) {
    for (DWORD level = 0; level <= 12; level++) {
        const bool inRange = level <= 10;
        SetDword("Sky Speed", level == 12 ? 0xFFFFFFFFu : level);
        SetDword("Cube View", inRange ? level % 2 : 2);
        SetDword("Cam View", inRange ? level % 3 : 3);
        SkyScene scene;
        scene.LoadSettings();
        // Near, not equal: a 32-bit build may keep the expected product in x87 precision.
        EXPECT_FLOAT_EQ(scene.skySpeed, inRange ? float(level) * 0.1f : 0.2f) << level;
        EXPECT_EQ(scene.cubeAnimation, inRange ? level % 2 : 0u) << level;
        EXPECT_EQ(scene.cameraPath, inRange ? level % 3 : 0u) << level;
        if (!inRange) continue;
        scene.SaveSettings();
        DWORD stored = 99;
        EXPECT_TRUE(GetDword("Sky Speed", &stored) && stored == level) << level;
        SkyScene again;
        again.LoadSettings();
        EXPECT_EQ(again.skySpeed, scene.skySpeed);
    }
}

TEST_F(SceneSettings, WrongSizesAndTypesGiveDefaultsAndNeverOverrun) {
    const char longText[] = "a string value far longer than four bytes";
    const BYTE eightBytes[8] = {1, 0, 0, 0, 1, 0, 0, 0};
    const BYTE twoBytes[2] = {1, 0};
    SetValue("Sky Speed", REG_SZ, longText, sizeof(longText));
    SetValue("Cube View", REG_BINARY, eightBytes, sizeof(eightBytes));
    SetValue("Cam View", REG_BINARY, twoBytes, sizeof(twoBytes));

    struct Guarded {
        SkyScene scene;
        char guard[64];
    };
    auto* guarded = new Guarded;
    std::memset(guarded->guard, 0x5A, sizeof(guarded->guard));
    guarded->scene.LoadSettings();
    EXPECT_FLOAT_EQ(guarded->scene.skySpeed, 0.2f);
    EXPECT_EQ(guarded->scene.cubeAnimation, 0u);
    EXPECT_EQ(guarded->scene.cameraPath, 0u);
    for (char c : guarded->guard) EXPECT_EQ(c, 0x5A);
    delete guarded;

    // A four-byte value of another type is read as its four bytes.
    const DWORD one = 1;
    SetValue("Cube View", REG_BINARY, &one, 4);
    SkyScene scene;
    scene.LoadSettings();
    EXPECT_EQ(scene.cubeAnimation, 1u);
}
