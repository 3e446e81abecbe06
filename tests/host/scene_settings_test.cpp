// The scene's settings in a scratch registry: a first run, and what the options dialog saves
// read back (values of any other type or size: the random registry test).
#include <gtest/gtest.h>

#include "doubles/support.h"
#include "scene/sky_scene.h"

namespace {

const char kKey[] = "Software\\Orvane\\Cirrane";

bool GetDword(const char* name, DWORD* value) {
    DWORD size = sizeof(*value);
    return ::RegGetValueA(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, value, &size) == 0;
}

}  // namespace

TEST(SceneSettings, FirstRunGivesDefaultsAndCreatesTheKeyAndSavedValuesReadBack) {
    ScratchRegistry registry;
    SkyScene scene;
    scene.skySpeed = 0.9f;
    scene.cubeAnimation = 1;
    scene.cameraPath = 2;
    scene.LoadSettings();
    EXPECT_FLOAT_EQ(scene.skySpeed, 0.2f);
    EXPECT_EQ(scene.cubeAnimation + scene.cameraPath, 0u);
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_READ, &key), ERROR_SUCCESS);
    ::RegCloseKey(key);
    DWORD stored = 99;
    EXPECT_FALSE(GetDword("Sky Speed", &stored));   // the options dialog's tests store a first run's
    for (DWORD level = 0; level <= 10; level++) {
        scene.skySpeed = float(level) * 0.1f;
        scene.cubeAnimation = level % 2;
        scene.cameraPath = level % 3;
        scene.SaveSettings();
        EXPECT_TRUE(GetDword("Sky Speed", &stored) && stored == level) << level;
        SkyScene again;
        again.LoadSettings();
        EXPECT_FLOAT_EQ(again.skySpeed, scene.skySpeed) << level;
        EXPECT_EQ(again.cubeAnimation, level % 2) << level;
        EXPECT_EQ(again.cameraPath, level % 3) << level;
    }
}
