// The scene's device objects and drawing, on recording test devices.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "doubles/fake_direct3d.h"
#include "gfxutil/d3dx_surface.h"
#include "host/release.h"
#include "scene/scene_geometry.h"
#include "scene/sky_scene.h"

namespace {

class SceneOnFakes : public ::testing::Test {
protected:
    SceneOnFakes() {
        scene.windowed = 1;
        scene.windowRect = scene.renderRect = RECT{0, 0, 600, 400};
    }
    ~SceneOnFakes() override {
        scene.ReleaseAllSceneObjects();
        for (RenderUnit& unit : scene.units) ReleaseAndClear(unit.device);
    }

    FakeDevice* AddUnit(D3DFORMAT format = D3DFMT_X8R8G8B8) {
        D3DPRESENT_PARAMETERS params = {600, 400, format, 1, D3DMULTISAMPLE_NONE,
                                        D3DSWAPEFFECT(0), nullptr, TRUE, TRUE, D3DFMT_D16};
        auto* device = new FakeDevice(d3d.get(), nullptr, params);
        const UINT index = scene.unitCount++;
        scene.units[index] = RenderUnit{};
        scene.units[index].device = device;
        scene.SelectRenderUnit(index);
        return device;
    }

    FakeRef<FakeDirect3D> d3d{new FakeDirect3D};
    SkyScene scene;
};

using SceneResources = SceneOnFakes;

FakeTexture* AsFake(IDirect3DTexture8* texture) { return static_cast<FakeTexture*>(texture); }

// Each level of a chain holds its own bitmap, as the loader makes it in the texture's format.
void ExpectLevelsFrom(IDirect3DTexture8* texture, std::vector<UINT> bitmapIds) {
    ASSERT_NE(texture, nullptr);
    FakeTexture* fake = AsFake(texture);
    ASSERT_EQ(fake->levels.size(), bitmapIds.size());
    for (size_t i = 0; i < bitmapIds.size(); ++i) {
        SCOPED_TRACE(bitmapIds[i]);
        MemorySurface& level = *fake->levels[i];
        D3DSURFACE_DESC desc;
        level.GetDesc(&desc);
        MemorySurface expected(desc.Width, desc.Height, fake->format);
        D3DXIMAGE_INFO info = {};
        ASSERT_EQ(D3DXLoadSurfaceFromResourceA(&expected, nullptr, nullptr, nullptr,
                                               MAKEINTRESOURCEA(bitmapIds[i]), nullptr, D3DX_DEFAULT, 0, &info),
                  S_OK);
        EXPECT_EQ(info.Width, desc.Width);   // the bitmap's own size: nothing stretched
        const size_t rowBytes = desc.Width * MemorySurface::BytesPerPixel(fake->format);
        for (UINT y = 0; y < desc.Height; ++y)
            ASSERT_EQ(std::memcmp(level.Row(y), expected.Row(y), rowBytes), 0) << y;
    }
}

TEST_F(SceneResources, RestoreBuildsTheBufferAndFourTexturesFromTheirBitmaps) {
    AddUnit();
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    const SceneObjects& objects = scene.Objects();
    auto* buffer = static_cast<FakeVertexBuffer*>(objects.vertexBuffer);
    std::vector<SceneVertex> vertices(kSceneVertexCount);
    WriteSceneVertices(vertices.data());
    ASSERT_EQ(buffer->memory.size(), size_t(kSceneBufferBytes));
    EXPECT_EQ(std::memcmp(buffer->memory.data(), vertices.data(), kSceneBufferBytes), 0);
    EXPECT_FALSE(buffer->locked);
    // Managed objects survive a reset of the device; the others would have to be rebuilt.
    EXPECT_EQ(buffer->pool, D3DPOOL_MANAGED);
    for (IDirect3DTexture8* texture : {objects.skyTexture, objects.cloudTexture, objects.stoneTexture, objects.glowTexture})
        EXPECT_EQ(AsFake(texture)->pool, D3DPOOL_MANAGED);

    ExpectLevelsFrom(objects.skyTexture, {121, 122, 123, 124, 125, 126, 127});
    ExpectLevelsFrom(objects.cloudTexture, {128, 129, 130, 131, 132, 133, 134});
    ExpectLevelsFrom(objects.stoneTexture, {114, 135, 115, 117, 118, 119, 120});
    int lit = 0;
    for (UINT y = 0; y < 256; y += 8)
        for (UINT x = 0; x < 256; x += 8) lit += (AsFake(objects.glowTexture)->levels[0]->Pixel(x, y) & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 256);
}

// A failed restore keeps nothing: the host never releases a unit whose restore failed.
TEST_F(SceneResources, FailuresAreReportedAndLeaveNothingHalfMade) {
    FakeDevice* device = AddUnit();
    const HRESULT bad = D3DERR_INVALIDCALL;
    const struct {
        std::deque<HRESULT> FakeDevice::*script;
        std::deque<HRESULT> results;
    } failures[] = {
        {&FakeDevice::createVertexBufferResults, {bad}},
        {&FakeDevice::vertexBufferLockResults, {bad}},
        {&FakeDevice::createTextureResults, {D3D_OK, bad}},                    // the clouds
        {&FakeDevice::surfaceLevelResults, {D3D_OK, D3D_OK, D3D_OK, bad}},     // a sky level
    };
    for (const auto& failure : failures) {
        device->*failure.script = failure.results;
        EXPECT_EQ(scene.RestoreSceneObjects(), E_FAIL);
        EXPECT_EQ(scene.Objects().vertexBuffer, nullptr);
        EXPECT_EQ(scene.Objects().skyTexture, nullptr);
        EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers, 0);
        EXPECT_EQ(device->RefCount(), 1u);
    }
    // A bitmap the program lacks (the stone chain skips 116) fails its texture, not a
    // texture of whatever the level was created with.
    IDirect3DTexture8* texture = nullptr;
    const UINT missing[] = {116};
    EXPECT_EQ(scene.LoadMipTexture(device, 1, missing, &texture), E_FAIL);
    EXPECT_EQ(texture, nullptr);
    ReleaseAndClear(texture);   // so a failure here leaks nothing into the next test
}

TEST_F(SceneResources, EachUnitKeepsItsOwnObjectsOnItsOwnDevice) {
    FakeDevice* first = AddUnit();
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);   // nothing built: nothing happens
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    FakeDevice* second = AddUnit(D3DFMT_R5G6B5);   // a 16-bit back buffer gets 16-bit textures
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    EXPECT_EQ(AsFake(scene.Objects().skyTexture)->format, D3DFMT_R5G6B5);
    ExpectLevelsFrom(scene.Objects().stoneTexture, {114, 135, 115, 117, 118, 119, 120});
    EXPECT_EQ(LiveFakes().textures, 8);
    EXPECT_EQ(LiveFakes().vertexBuffers, 2);
    for (UINT unit : {0u, 1u}) {   // every draw with objects of the unit's own device
        FakeDevice* device = unit == 0 ? first : second;
        scene.SelectRenderUnit(unit);
        scene.DrawScene();
        EXPECT_EQ(static_cast<FakeVertexBuffer*>(device->streamSource)->device, device);
        for (const FakeDraw& draw : device->draws)
            EXPECT_EQ(static_cast<FakeTexture*>(draw.texture)->device, device);
    }
    scene.SelectRenderUnit(1);
    scene.ReleaseSceneObjects();
    EXPECT_EQ(LiveFakes().textures, 4);
    EXPECT_EQ(second->RefCount(), 1u);               // only the unit's own reference
    scene.SelectRenderUnit(0);
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);
    EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers, 0);
    EXPECT_EQ(first->RefCount(), 1u);
}

// ---- Drawing ----------------------------------------------------------------------------
class SceneDraw : public SceneOnFakes {
protected:
    void SetUp() override {
        device = AddUnit();
        ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
        scene.time = 7.25f;   // distinct matrices for every transform
        scene.AdvanceScene();
    }
    FakeDevice* device = nullptr;
};

bool Same(const D3DMATRIX& a, const D3DMATRIX& b) { return std::memcmp(&a, &b, sizeof(a)) == 0; }

TEST_F(SceneDraw, EachRangeIsDrawnWithItsTextureBlendDepthCullAndTransforms) {
    const SceneObjects& o = scene.Objects();
    const DWORD kOff = 0, kOne = D3DBLEND_ONE, kSrc = D3DBLEND_SRCCOLOR;
    const struct {
        D3DPRIMITIVETYPE type;
        UINT start, count;
        IDirect3DTexture8* texture;
        DWORD source, destination;   // kOff: no blending
        DWORD depth, cull;
        const D3DXMATRIX* world;
    } expected[] = {
        {D3DPT_TRIANGLELIST, kSkyFirst, kSkyTriangles, o.skyTexture, kOff, kOff, TRUE, D3DCULL_CCW, &scene.identityWorld},
        {D3DPT_TRIANGLELIST, kCloudFirst, kCloudTriangles, o.cloudTexture, kOne, kOne, TRUE, D3DCULL_CCW, &scene.identityWorld},
        {D3DPT_TRIANGLELIST, kCentralTopFirst, kCentralTopTriangles, o.stoneTexture, kSrc, kSrc, TRUE, D3DCULL_CCW, &scene.identityWorld},
        {D3DPT_TRIANGLELIST, kOtherTopsFirst, kOtherTopsTriangles, o.stoneTexture, kSrc, kSrc, TRUE, D3DCULL_CCW, &scene.identityWorld},
        {D3DPT_TRIANGLELIST, kSlabSidesFirst, kSlabSidesTriangles, o.stoneTexture, kOff, kOff, TRUE, D3DCULL_CCW, &scene.identityWorld},
        {D3DPT_TRIANGLESTRIP, kGlowLowerFirst, kGlowStripTriangles, o.glowTexture, kSrc, kOne, FALSE, D3DCULL_NONE, &scene.glowMatrix},
        {D3DPT_TRIANGLESTRIP, kGlowUpperFirst, kGlowStripTriangles, o.glowTexture, kSrc, kOne, FALSE, D3DCULL_NONE, &scene.glowMatrix},
        {D3DPT_TRIANGLELIST, kCubeFirst, kCubeTriangles, o.stoneTexture, kOff, kOff, TRUE, D3DCULL_CCW, &scene.cubeWorld},
    };
    for (int frame = 0; frame < 2; frame++) {
        device->ClearLog();
        EXPECT_EQ(scene.DrawScene(), S_OK);
    }
    EXPECT_EQ(device->calls, (std::vector<std::string>{"Clear", "BeginScene", "EndScene"}));
    EXPECT_EQ(device->streamSource, o.vertexBuffer);
    ASSERT_EQ(device->draws.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const auto& want = expected[i];
        FakeDraw& draw = device->draws[i];
        EXPECT_EQ(draw.type, want.type);
        EXPECT_EQ(draw.start, want.start);
        EXPECT_EQ(draw.count, want.count);
        EXPECT_EQ(draw.texture, want.texture);
        EXPECT_EQ(draw.states[D3DRS_ALPHABLENDENABLE], DWORD(want.source != kOff));
        if (want.source != kOff) {
            EXPECT_EQ(draw.states[D3DRS_SRCBLEND], want.source);
            EXPECT_EQ(draw.states[D3DRS_DESTBLEND], want.destination);
        }
        EXPECT_EQ(draw.states[D3DRS_ZENABLE], want.depth);
        EXPECT_EQ(draw.states[D3DRS_CULLMODE], want.cull);
        EXPECT_EQ(draw.stageStates[D3DTSS_MINFILTER], DWORD(D3DTEXF_LINEAR));
        EXPECT_EQ(draw.stageStates[D3DTSS_MAGFILTER], DWORD(D3DTEXF_LINEAR));
        EXPECT_TRUE(Same(draw.transforms[D3DTS_WORLD], *want.world));
        EXPECT_TRUE(Same(draw.transforms[D3DTS_VIEW], scene.viewMatrix));
        // Only the clouds drift through their texture transform.
        const bool clouds = want.texture == o.cloudTexture;
        EXPECT_EQ(draw.stageStates[D3DTSS_TEXTURETRANSFORMFLAGS], DWORD(clouds ? D3DTTFF_COUNT2 : D3DTTFF_DISABLE));
        if (clouds) EXPECT_TRUE(Same(draw.transforms[D3DTS_TEXTURE0], scene.cloudTexMatrix));
    }
    std::vector<std::pair<UINT, UINT>> ranges;
    for (const FakeDraw& d : device->draws)
        ranges.push_back({d.start, d.start + (d.type == D3DPT_TRIANGLESTRIP ? d.count + 2 : 3 * d.count)});
    std::sort(ranges.begin(), ranges.end());
    UINT next = 0;
    for (const auto& [first, end] : ranges) EXPECT_EQ(first, std::exchange(next, end));
    EXPECT_EQ(next, kSceneVertexCount);
}

}  // namespace
