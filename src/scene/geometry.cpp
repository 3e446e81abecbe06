// The scene geometry.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "scene/sky_scene.h"

HRESULT SkyScene::BuildGeometry() { return E_FAIL; }
