// Drawing one frame of the scene.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "scene/sky_scene.h"

HRESULT SkyScene::DrawScene() { return S_OK; }
