// SkyScene construction: the values the scene fixes in Saver and its own defaults.
#include "scene/sky_scene.h"

#include <commctrl.h>

#include <cstring>

#include "resource_ids.h"

SkyScene* SkyScene::sceneInstance = nullptr;

SkyScene::SkyScene() {
    ::InitCommonControls();   // the options dialog holds a trackbar
    sceneInstance = this;
    useDepthBuffer = 1;       // the drawing relies on depth testing
    D3DXMatrixIdentity(&viewMatrix);
    D3DXMatrixIdentity(&cloudTexMatrix);
    D3DXMatrixIdentity(&glowMatrix);
    D3DXMatrixIdentity(&cubeWorld);
    D3DXMatrixIdentity(&identityWorld);
    D3DXMatrixTranslation(&cubeTranslation, 0.0f, 0.5f, 0.0f);
    std::strcpy(registryPath, "Software\\Orvane\\Cirrane");
    ::LoadStringA(::GetModuleHandleA(nullptr), IDS_TITLE, title, sizeof(title));
    skySpeed = 0.2f;
    cubeAnimation = 0;
    cameraPath = 0;
}

SkyScene::~SkyScene() {
    ReleaseAllSceneObjects();
    if (sceneInstance == this) sceneInstance = nullptr;
}
