// The scene's three settings in the registry, under HKEY_CURRENT_USER\<registryPath>.
//
// Each setting is a REG_DWORD level with an accepted range and a default; a value that is
// missing, not exactly 4 bytes, or out of range reads as the default. The display
// settings follow through the same open key.
#include <cmath>

#include "host/registry_values.h"
#include "scene/sky_scene.h"

namespace {

struct SceneSetting {
    const char* name;
    DWORD defaultLevel;
    DWORD maxLevel;
};

// "Cube View" holds the cube animation and "Cam View" the camera path.
const SceneSetting kSkySpeed = {"Sky Speed", 2, kMaxSkySpeedLevel};
const SceneSetting kCubeView = {"Cube View", 0, 1};
const SceneSetting kCamView = {"Cam View", 0, 2};

DWORD ReadLevel(HKEY key, const SceneSetting& setting) {
    DWORD level = 0;
    if (!ReadRegistryDword(key, setting.name, &level) || level > setting.maxLevel)
        return setting.defaultLevel;
    return level;
}

}  // namespace

void SkyScene::LoadSettings() {
    HKEY key = OpenOrCreateKey(HKEY_CURRENT_USER, registryPath);
    if (!key) return;
    skySpeed = float(ReadLevel(key, kSkySpeed)) * 0.1f;
    cubeAnimation = ReadLevel(key, kCubeView);
    cameraPath = ReadLevel(key, kCamView);
    ReadDisplaySettings(key);
    ::RegCloseKey(key);
}

void SkyScene::SaveSettings() {
    HKEY key = OpenOrCreateKey(HKEY_CURRENT_USER, registryPath);
    if (!key) return;
    WriteRegistryDword(key, kSkySpeed.name, DWORD(std::lround(skySpeed * 10.0f)));
    WriteRegistryDword(key, kCubeView.name, cubeAnimation);
    WriteRegistryDword(key, kCamView.name, cameraPath);
    WriteDisplaySettings(key);
    ::RegCloseKey(key);
}
