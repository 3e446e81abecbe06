// The scene's device objects on recording test devices: what a restore builds, that
// rebuilding and releasing leak nothing, failures that leave nothing half-made, and one
// set of objects per render unit, in its back buffer's format.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"
#include "scene/scene_geometry.h"
#include "scene/scene_on_fakes.h"

namespace {

using SceneResources = SceneOnFakes;

FakeTexture* AsFake(IDirect3DTexture8* texture) { return static_cast<FakeTexture*>(texture); }

// Each level must hold what the loader makes of its bitmap at that level's size.
void ExpectLevelsFrom(IDirect3DTexture8* texture, std::vector<UINT> bitmapIds) {
    ASSERT_NE(texture, nullptr);
    FakeTexture* fake = AsFake(texture);
    ASSERT_EQ(fake->levels.size(), bitmapIds.size());
    const std::vector<BYTE>& top = fake->levels[0].memory;
    ASSERT_NE(std::count(top.begin(), top.end(), 0), std::ptrdiff_t(top.size()));   // loaded
    for (size_t i = 0; i < bitmapIds.size(); ++i) {
        const FakeTexture::Level& level = fake->levels[i];
        MemorySurface* expected = new MemorySurface(level.width, level.height, fake->format);
        D3DXLoadSurfaceFromResourceA(expected, nullptr, nullptr, nullptr,
                                     MAKEINTRESOURCEA(bitmapIds[i]), nullptr, D3DX_DEFAULT, 0, nullptr);
        const UINT rowBytes = level.width * FakeBytesPerPixel(fake->format);
        for (UINT y = 0; y < level.height; ++y)
            ASSERT_EQ(std::memcmp(&level.memory[y * level.pitch], expected->Row(y), rowBytes), 0)
                << "bitmap " << bitmapIds[i] << " row " << y;
        expected->Release();
    }
}

TEST_F(SceneResources, RestoreBuildsTheBufferAndFourTexturesFromTheirBitmaps) {
    FakeDevice* device = AddUnit();
    device->ClearLog();
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    EXPECT_EQ(device->IndexOf("SetRenderState(26,1)"), 0);   // dithering on, then specular off
    EXPECT_EQ(device->IndexOf("SetRenderState(29,0)"), 1);
    EXPECT_TRUE(device->Called("CreateVertexBuffer(38560,8,258,1)"));
    std::vector<std::string> creations;
    for (const std::string& call : device->calls)
        if (call.rfind("CreateTexture(", 0) == 0) creations.push_back(call);
    const std::string chain = "CreateTexture(256,256,7,0,22,1)";
    EXPECT_EQ(creations, (std::vector<std::string>{chain, chain, chain, "CreateTexture(256,256,1,0,22,1)"}));

    const SceneObjects& objects = scene.Objects();
    auto* buffer = static_cast<FakeVertexBuffer*>(objects.vertexBuffer);
    std::vector<SceneVertex> vertices(kSceneVertexCount);
    WriteSceneVertices(vertices.data());
    ASSERT_EQ(buffer->memory.size(), size_t(kSceneBufferBytes));
    EXPECT_EQ(std::memcmp(buffer->memory.data(), vertices.data(), kSceneBufferBytes), 0);
    EXPECT_FALSE(buffer->locked);

    ExpectLevelsFrom(objects.skyTexture, {121, 122, 123, 124, 125, 126, 127});
    ExpectLevelsFrom(objects.cloudTexture, {128, 129, 130, 131, 132, 133, 134});
    ExpectLevelsFrom(objects.stoneTexture, {114, 135, 115, 117, 118, 119, 120});
    ExpectLevelsFrom(objects.glowTexture, {136});
    EXPECT_EQ(LiveFakes().surfaces, 0);   // every level surface released
}

TEST_F(SceneResources, RestoringTwiceAndReleasingLeakNothing) {
    FakeDevice* device = AddUnit();
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);   // nothing built: nothing happens
    EXPECT_EQ(device->calls.size(), 1u);            // only the selection's GetBackBuffer
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    EXPECT_EQ(LiveFakes().textures, 4);
    EXPECT_EQ(LiveFakes().vertexBuffers, 1);
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);
    EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers + LiveFakes().surfaces, 0);
    EXPECT_EQ(device->RefCount(), 1u);              // only the unit's own reference
}

// A buffer that cannot be created or locked, a texture that cannot be created and a
// level whose surface cannot be had all fail with E_FAIL, and a failed restore keeps
// nothing of the unit's set: the host never releases a unit whose restore failed.
class LevelFailingTexture : public FakeTexture {   // level 3 has no surface
public:
    using FakeTexture::FakeTexture;
    STDMETHOD(GetSurfaceLevel)(UINT level, IDirect3DSurface8** surface) override {
        return level == 3 ? (*surface = nullptr, D3DERR_INVALIDCALL) : FakeTexture::GetSurfaceLevel(level, surface);
    }
};
class LevelFailingDevice : public FakeDevice {
public:
    using FakeDevice::FakeDevice;
    STDMETHOD(CreateTexture)(UINT w, UINT h, UINT levels, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool, IDirect3DTexture8** texture) override {
        *texture = new LevelFailingTexture(this, w, h, levels, usage, format, pool);
        return D3D_OK;
    }
};

TEST_F(SceneResources, FailuresAreReportedAndLeaveNothingHalfMade) {
    FakeDevice* device = AddUnit();
    device->createVertexBufferResults = {E_OUTOFMEMORY};
    EXPECT_EQ(scene.RestoreSceneObjects(), E_FAIL);
    EXPECT_EQ(device->CountCalls("CreateTexture"), 0);

    device->vertexBufferLockResults = {D3DERR_INVALIDCALL};
    EXPECT_EQ(scene.RestoreSceneObjects(), E_FAIL);
    EXPECT_EQ(scene.Objects().vertexBuffer, nullptr);
    EXPECT_EQ(LiveFakes().vertexBuffers, 0);

    device->createTextureResults = {D3D_OK, E_OUTOFMEMORY};
    EXPECT_EQ(scene.RestoreSceneObjects(), E_FAIL);
    EXPECT_EQ(device->CountCalls("CreateTexture"), 2);   // stopped at the first failure
    EXPECT_EQ(scene.Objects().vertexBuffer, nullptr);
    EXPECT_EQ(scene.Objects().skyTexture, nullptr);
    EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers, 0);
    EXPECT_EQ(device->RefCount(), 1u);

    D3DPRESENT_PARAMETERS params = device->presentParams;
    FakeRef<LevelFailingDevice> failing(new LevelFailingDevice(d3d.get(), 0, D3DDEVTYPE_HAL, nullptr, 0, params));
    IDirect3DTexture8* texture = nullptr;
    const UINT ids[7] = {121, 122, 123, 124, 125, 126, 127};
    EXPECT_EQ(scene.LoadMipTexture(failing.get(), 7, ids, &texture), E_FAIL);
    EXPECT_EQ(texture, nullptr);
    EXPECT_EQ(LiveFakes().textures + LiveFakes().surfaces, 0);
    EXPECT_EQ(failing->RefCount(), 1u);
}

TEST_F(SceneResources, EachUnitKeepsItsOwnObjectsOnItsOwnDevice) {
    FakeDevice* first = AddUnit();
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    FakeDevice* second = AddUnit(D3DFMT_R5G6B5);   // a 16-bit back buffer gets 16-bit textures
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    EXPECT_EQ(AsFake(scene.Objects().skyTexture)->format, D3DFMT_R5G6B5);
    ExpectLevelsFrom(scene.Objects().stoneTexture, {114, 135, 115, 117, 118, 119, 120});
    EXPECT_EQ(first->vertexBuffersCreated + second->vertexBuffersCreated, 2u);
    EXPECT_EQ(first->texturesCreated, 4u);
    EXPECT_EQ(second->texturesCreated, 4u);

    for (UINT unit : {0u, 1u}) {
        FakeDevice* device = unit == 0 ? first : second;
        scene.SelectRenderUnit(unit);
        const SceneObjects& objects = scene.Objects();
        EXPECT_EQ(AsFake(objects.stoneTexture)->Device(), device);
        device->ClearLog();
        scene.DrawScene();
        EXPECT_EQ(device->streamSource, objects.vertexBuffer);
        EXPECT_EQ(device->boundTextures[0], objects.stoneTexture);
        EXPECT_TRUE(device->Called("SetTexture(0,texture#4)"));   // its own glow
    }
    scene.SelectRenderUnit(1);   // releasing one unit's set leaves the other's alone
    scene.ReleaseSceneObjects();
    EXPECT_EQ(LiveFakes().textures, 4);
    EXPECT_EQ(second->RefCount(), 1u);
    scene.SelectRenderUnit(0);
    scene.ReleaseSceneObjects();
    EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers, 0);
}

}  // namespace
