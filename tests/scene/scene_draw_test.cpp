// Where a frame's draws go on a recording test device: which vertex range is drawn with
// which texture, blending, depth test, culling and transforms (in the second frame, so the
// states the first one leaves behind count), and a frame that cannot be begun.
#include <cstring>
#include <iterator>

#include "scene/scene_geometry.h"
#include "scene/scene_on_fakes.h"

namespace {

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
    D3DMATRIX projection;
    scene.ComputeProjection(0.05f, 120.0f, &projection);
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
        EXPECT_EQ(draw.states[D3DRS_ZWRITEENABLE], DWORD(TRUE));
        EXPECT_EQ(draw.states[D3DRS_CULLMODE], want.cull);
        EXPECT_EQ(draw.states[D3DRS_LIGHTING], DWORD(FALSE));
        EXPECT_EQ(draw.stageStates[D3DTSS_MINFILTER], DWORD(D3DTEXF_LINEAR));
        EXPECT_EQ(draw.stageStates[D3DTSS_MAGFILTER], DWORD(D3DTEXF_LINEAR));
        EXPECT_TRUE(Same(draw.transforms[D3DTS_WORLD], *want.world));
        EXPECT_TRUE(Same(draw.transforms[D3DTS_VIEW], scene.viewMatrix));
        EXPECT_TRUE(Same(draw.transforms[D3DTS_PROJECTION], projection));
        // Only the clouds drift through their texture transform.
        const bool clouds = want.texture == o.cloudTexture;
        EXPECT_EQ(draw.stageStates[D3DTSS_TEXTURETRANSFORMFLAGS], DWORD(clouds ? D3DTTFF_COUNT2 : D3DTTFF_DISABLE));
        if (clouds) EXPECT_TRUE(Same(draw.transforms[D3DTS_TEXTURE0], scene.cloudTexMatrix));
    }
}

TEST_F(SceneDraw, AFrameThatCannotBeBegunDrawsNothing) {
    device->beginSceneResults = {D3DERR_INVALIDCALL};
    EXPECT_EQ(scene.DrawScene(), S_OK);
    EXPECT_EQ(device->calls, (std::vector<std::string>{"Clear", "BeginScene"}));
    EXPECT_TRUE(device->draws.empty());
}

}  // namespace
