// The scene's device objects: choosing the render unit's set, restoring it (render
// states, geometry, textures) and releasing it.
//
// Each render unit has its own set (SkyScene::unitObjects), made on that unit's device
// while the unit is selected and released with it, so every monitor draws with objects of
// its own device. The textures are managed and take the back buffer's format of the
// selected unit; each level is filled from a bitmap resource of the executable, and a
// bitmap that does not load fails the restore. A restore either completes or leaves the
// unit's set empty.
#include <iterator>

#include "gfxutil/d3dx_surface.h"
#include "host/release.h"
#include "scene/sky_scene.h"

namespace {

constexpr UINT kTextureSize = 256;
constexpr UINT kChainLevels = 7;   // 256 down to 4
constexpr UINT kSkyBitmaps[kChainLevels] = {121, 122, 123, 124, 125, 126, 127};
constexpr UINT kCloudBitmaps[kChainLevels] = {128, 129, 130, 131, 132, 133, 134};
constexpr UINT kStoneBitmaps[kChainLevels] = {114, 135, 115, 117, 118, 119, 120};
constexpr UINT kGlowBitmaps[1] = {136};   // 32 x 32, scaled up on loading

void ReleaseObjectSet(SceneObjects& objects) {
    ReleaseAndClear(objects.vertexBuffer);
    ReleaseAndClear(objects.skyTexture);
    ReleaseAndClear(objects.cloudTexture);
    ReleaseAndClear(objects.stoneTexture);
    ReleaseAndClear(objects.glowTexture);
}

// Fills one level from its bitmap. A bitmap that is missing or cannot be read fails the
// level: drawing a level that holds whatever the texture was created with would show
// garbage instead of telling the user something is wrong.
HRESULT LoadLevel(IDirect3DTexture8* texture, UINT level, UINT bitmapId) {
    IDirect3DSurface8* surface = nullptr;
    if (FAILED(texture->GetSurfaceLevel(level, &surface)) || !surface) return E_FAIL;
    const HRESULT loaded = D3DXLoadSurfaceFromResourceA(surface, nullptr, nullptr, nullptr,
                                                        MAKEINTRESOURCEA(bitmapId), nullptr,
                                                        D3DX_DEFAULT, 0, nullptr);
    ReleaseAndClear(surface);
    return FAILED(loaded) ? E_FAIL : S_OK;
}

}  // namespace

void SkyScene::UnitChanged(UINT unitIndex) {
    if (unitIndex < std::size(unitObjects)) currentUnit = unitIndex;
}

HRESULT SkyScene::RestoreSceneObjects() {
    if (!activeDevice) return S_OK;
    activeDevice->SetRenderState(D3DRS_DITHERENABLE, TRUE);
    activeDevice->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    if (SUCCEEDED(BuildGeometry()) && SUCCEEDED(LoadTextures())) return S_OK;
    // The host releases only a unit whose restore succeeded; a half-built set left here
    // would hold this unit's device alive after the host has let go of it.
    ReleaseSceneObjects();
    return E_FAIL;
}

HRESULT SkyScene::ReleaseSceneObjects() {
    ReleaseObjectSet(Objects());
    return S_OK;
}

void SkyScene::ReleaseAllSceneObjects() {
    for (SceneObjects& objects : unitObjects) ReleaseObjectSet(objects);
}

HRESULT SkyScene::LoadTextures() {
    SceneObjects& objects = Objects();
    ReleaseAndClear(objects.skyTexture);
    ReleaseAndClear(objects.cloudTexture);
    ReleaseAndClear(objects.stoneTexture);
    ReleaseAndClear(objects.glowTexture);
    HRESULT result = LoadMipTexture(activeDevice, kChainLevels, kSkyBitmaps, &objects.skyTexture);
    if (SUCCEEDED(result))
        result = LoadMipTexture(activeDevice, kChainLevels, kCloudBitmaps, &objects.cloudTexture);
    if (SUCCEEDED(result))
        result = LoadMipTexture(activeDevice, kChainLevels, kStoneBitmaps, &objects.stoneTexture);
    if (SUCCEEDED(result))
        result = LoadMipTexture(activeDevice, 1, kGlowBitmaps, &objects.glowTexture);
    return result;
}

// Only the levels that have a bitmap are filled (a level count of 0 asks the device for a
// full chain, which has more levels than bitmaps). A level whose surface cannot be had or
// whose bitmap does not load means the texture cannot be filled: it is released again,
// the holder stays empty and the load fails with E_FAIL (the host then shows its error).
HRESULT SkyScene::LoadMipTexture(IDirect3DDevice8* device, UINT levels, const UINT* bitmapIds,
                                 IDirect3DTexture8** texture) {
    if (!texture) return E_FAIL;
    ReleaseAndClear(*texture);
    if (!device || !bitmapIds) return E_FAIL;
    if (FAILED(device->CreateTexture(kTextureSize, kTextureSize, levels, 0,
                                     backBufferDesc.Format, D3DPOOL_MANAGED, texture)) ||
        !*texture) {
        *texture = nullptr;
        return E_FAIL;
    }
    const UINT created = (*texture)->GetLevelCount();
    for (UINT level = 0; level < created && level < levels; ++level) {
        if (FAILED(LoadLevel(*texture, level, bitmapIds[level]))) {
            ReleaseAndClear(*texture);
            return E_FAIL;
        }
    }
    return S_OK;
}
