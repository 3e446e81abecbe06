// The scene per-frame motion.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "scene/sky_scene.h"

HRESULT SkyScene::AdvanceScene() { return S_OK; }
