// The scene's device objects on recording test devices: what a restore builds, that
// rebuilding and releasing leak nothing, failures that leave nothing half-made, and one
// set of objects per render unit, in its back buffer's format.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"
#include "scene/scene_geometry.h"
#include "scene/scene_on_fakes.h"

namespace {

using SceneResources = SceneOnFakes;

FakeTexture* AsFake(IDirect3DTexture8* texture) { return static_cast<FakeTexture*>(texture); }

// The colours of an 8-bit bitmap resource, read straight from its bytes (bottom-up rows,
// each padded to four bytes), as 0x00RRGGBB.
std::vector<DWORD> BitmapColours(UINT id, UINT* width, UINT* height) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2));
    const auto* info = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(nullptr, found)));
    EXPECT_EQ(info->biBitCount, 8);
    const auto* palette = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(info) + info->biSize);
    const BYTE* bits = reinterpret_cast<const BYTE*>(palette + (info->biClrUsed ? info->biClrUsed : 256));
    *width = UINT(info->biWidth);
    *height = UINT(info->biHeight);
    std::vector<DWORD> colours;
    for (UINT y = 0; y < *height; ++y) {
        const BYTE* row = bits + (*height - 1 - y) * ((*width + 3) & ~3u);
        for (UINT x = 0; x < *width; ++x) {
            const RGBQUAD& c = palette[row[x]];
            colours.push_back(DWORD(c.rgbRed) << 16 | DWORD(c.rgbGreen) << 8 | c.rgbBlue);
        }
    }
    return colours;
}

// Each level of a chain holds its own bitmap: pixel for pixel in X8R8G8B8, within the
// dither's one step per channel in R5G6B5.
void ExpectLevelsFrom(IDirect3DTexture8* texture, std::vector<UINT> bitmapIds) {
    ASSERT_NE(texture, nullptr);
    FakeTexture* fake = AsFake(texture);
    ASSERT_TRUE(fake->format == D3DFMT_X8R8G8B8 || fake->format == D3DFMT_R5G6B5);
    const bool wide = fake->format == D3DFMT_X8R8G8B8;
    ASSERT_EQ(fake->levels.size(), bitmapIds.size());
    for (size_t i = 0; i < bitmapIds.size(); ++i) {
        MemorySurface& level = *fake->levels[i];
        D3DSURFACE_DESC desc;
        level.GetDesc(&desc);
        UINT width, height;
        const std::vector<DWORD> expected = BitmapColours(bitmapIds[i], &width, &height);
        ASSERT_EQ(width, desc.Width);
        ASSERT_EQ(height, desc.Height);
        for (UINT y = 0; y < height; ++y) {
            for (UINT x = 0; x < width; ++x) {
                const DWORD want = expected[y * width + x], got = level.Pixel(x, y);
                if (wide) {
                    ASSERT_EQ(got & 0xFFFFFF, want) << "bitmap " << bitmapIds[i] << " at " << x << "," << y;
                    continue;
                }
                const int channels[3][3] = {{int(got >> 11), 31, int(want >> 16)},
                                            {int(got >> 5 & 63), 63, int(want >> 8 & 255)},
                                            {int(got & 31), 31, int(want & 255)}};
                for (const auto& c : channels)
                    ASSERT_LE(std::fabs(c[0] - c[2] * c[1] / 255.0), 1.0)
                        << "bitmap " << bitmapIds[i] << " at " << x << "," << y;
            }
        }
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
    // The glow is stretched from 32 x 32: its top level is filled, not left black.
    int lit = 0;
    for (UINT y = 0; y < 256; y += 8)
        for (UINT x = 0; x < 256; x += 8) lit += (AsFake(objects.glowTexture)->levels[0]->Pixel(x, y) & 0xFFFFFF) != 0;
    EXPECT_GT(lit, 256);
}

TEST_F(SceneResources, RestoringTwiceAndReleasingLeakNothing) {
    FakeDevice* device = AddUnit();
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);   // nothing built: nothing happens
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    EXPECT_EQ(LiveFakes().textures, 4);
    EXPECT_EQ(LiveFakes().vertexBuffers, 1);
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);
    EXPECT_EQ(scene.ReleaseSceneObjects(), S_OK);
    EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers, 0);
    EXPECT_EQ(device->RefCount(), 1u);              // only the unit's own reference
}

// A buffer that cannot be created or locked, a texture that cannot be created and a
// level whose surface cannot be had all fail with E_FAIL, and a failed restore keeps
// nothing of the unit's set: the host never releases a unit whose restore failed.
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
}

TEST_F(SceneResources, EachUnitKeepsItsOwnObjectsOnItsOwnDevice) {
    FakeDevice* first = AddUnit();
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
    scene.SelectRenderUnit(1);   // releasing one unit's set leaves the other's alone
    scene.ReleaseSceneObjects();
    EXPECT_EQ(LiveFakes().textures, 4);
    EXPECT_EQ(second->RefCount(), 1u);
    scene.SelectRenderUnit(0);
    scene.ReleaseSceneObjects();
    EXPECT_EQ(LiveFakes().textures + LiveFakes().vertexBuffers, 0);
}

}  // namespace
