// The scene's settings in a scratch registry (wrong sizes and types: the store's tests).
#include <gtest/gtest.h>

#include "doubles/support.h"
#include "scene/sky_scene.h"

namespace {

const char kKey[] = "Software\\Orvane\\Cirrane";

void SetDword(const char* name, DWORD value) {
    ::RegSetKeyValueA(HKEY_CURRENT_USER, kKey, name, REG_DWORD, &value, sizeof(value));
}
bool GetDword(const char* name, DWORD* value) {
    DWORD size = sizeof(*value);
    return ::RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, value, &size) == 0;
}

}  // namespace

// The options dialog's tests store a first run's values.
TEST(SceneSettings, FirstRunGivesDefaultsAndCreatesTheKey) {
    ScratchRegistry registry;
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

TEST(SceneSettings, ValuesInRangeRoundTripAndOthersGiveDefaults) {
    ScratchRegistry registry;
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
