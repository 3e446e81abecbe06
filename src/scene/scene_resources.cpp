// The scene device objects.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "scene/sky_scene.h"

void SkyScene::UnitChanged(UINT) {}
HRESULT SkyScene::RestoreSceneObjects() { return S_OK; }
HRESULT SkyScene::ReleaseSceneObjects() { return S_OK; }
HRESULT SkyScene::LoadTextures() { return S_OK; }
HRESULT SkyScene::LoadMipTexture(IDirect3DDevice8*, UINT, const UINT*, IDirect3DTexture8**) { return E_FAIL; }
