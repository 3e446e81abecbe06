// Drawing one frame of the scene on the selected render unit's device.
//
// One fixed sequence of device calls: the look (additive clouds, see-through slab tops,
// a glow that ignores depth) comes from the order of the draws and the blend states set
// for each. Only BeginScene's result is examined. The frame leaves the device with
// lighting off, linear filtering, blending off, depth testing on, counter-clockwise
// culling, texture transforms off, the stone texture bound and the world at the identity,
// which are also the states the next frame's sky expects. Nothing is allocated.
#include "scene/scene_geometry.h"
#include "scene/sky_scene.h"

namespace {

constexpr float kNearPlane = 0.05f;
constexpr float kFarPlane = 120.0f;
constexpr D3DCOLOR kClearColour = 0xFFFFFFFF;

void SetBlend(IDirect3DDevice8* device, DWORD source, DWORD destination) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, destination);
}

void SetLinearFiltering(IDirect3DDevice8* device) {
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTEXF_LINEAR);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
}

void DrawList(IDirect3DDevice8* device, UINT first, UINT triangles) {
    device->DrawPrimitive(D3DPT_TRIANGLELIST, first, triangles);
}

// The sky, then the clouds added onto it through their drifting texture transform.
void DrawSky(IDirect3DDevice8* device, const SceneObjects& objects, const D3DMATRIX& world,
             const D3DMATRIX& cloudTexture) {
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetTexture(0, objects.skyTexture);
    DrawList(device, kSkyFirst, kSkyTriangles);
    device->SetTransform(D3DTS_TEXTURE0, &cloudTexture);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    SetBlend(device, D3DBLEND_ONE, D3DBLEND_ONE);
    device->SetTexture(0, objects.cloudTexture);
    DrawList(device, kCloudFirst, kCloudTriangles);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
}

// Slab tops blend source x (source + destination), so the dark tiles let the sky through;
// the sides are opaque.
void DrawSlabs(IDirect3DDevice8* device, const SceneObjects& objects) {
    device->SetTexture(0, objects.stoneTexture);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    SetBlend(device, D3DBLEND_SRCCOLOR, D3DBLEND_SRCCOLOR);
    DrawList(device, kCentralTopFirst, kCentralTopTriangles);
    DrawList(device, kOtherTopsFirst, kOtherTopsTriangles);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    DrawList(device, kSlabSidesFirst, kSlabSidesTriangles);
}

// The glow band adds the square of its colour, ignores depth and shows both faces; the
// states are put back afterwards.
void DrawGlow(IDirect3DDevice8* device, const SceneObjects& objects, const D3DMATRIX& glow,
              const D3DMATRIX& world) {
    device->SetRenderState(D3DRS_ZENABLE, FALSE);
    SetBlend(device, D3DBLEND_SRCCOLOR, D3DBLEND_ONE);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_NONE);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->SetTransform(D3DTS_WORLD, &glow);
    device->SetTexture(0, objects.glowTexture);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, kGlowLowerFirst, kGlowStripTriangles);
    device->DrawPrimitive(D3DPT_TRIANGLESTRIP, kGlowUpperFirst, kGlowStripTriangles);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_ZENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
}

}  // namespace

HRESULT SkyScene::DrawScene() {
    IDirect3DDevice8* device = activeDevice;
    if (!device) return S_OK;
    const SceneObjects& objects = Objects();
    device->SetTransform(D3DTS_VIEW, &viewMatrix);
    SetProjection(kNearPlane, kFarPlane);
    SetLinearFiltering(device);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetVertexShader(kSceneVertexFormat);
    device->SetStreamSource(0, objects.vertexBuffer, kSceneVertexStride);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kClearColour, 1.0f, 0);
    if (FAILED(device->BeginScene())) return S_OK;   // the target keeps the clear colour

    DrawSky(device, objects, identityWorld, cloudTexMatrix);
    DrawSlabs(device, objects);
    DrawGlow(device, objects, glowMatrix, identityWorld);
    // The cube last, opaque and depth-tested, over the glow.
    device->SetTexture(0, objects.stoneTexture);
    device->SetTransform(D3DTS_WORLD, &cubeWorld);
    DrawList(device, kCubeFirst, kCubeTriangles);
    device->SetTransform(D3DTS_WORLD, &identityWorld);
    device->EndScene();
    return S_OK;
}
