// One frame on a recording test device: every call and state in its order, the matrices
// it draws with, the states it leaves behind, and a frame that cannot be begun.
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "scene/scene_on_fakes.h"

namespace {

std::string Format(const char* format, long a, long b = 0, long c = 0) {
    char text[64];
    std::snprintf(text, sizeof(text), format, a, b, c);
    return text;
}
std::string RS(D3DRENDERSTATETYPE state, DWORD value) { return Format("SetRenderState(%ld,%ld)", state, value); }
std::string TSS(D3DTEXTURESTAGESTATETYPE type, DWORD value) { return Format("SetTextureStageState(0,%ld,%ld)", type, value); }
std::string Transform(D3DTRANSFORMSTATETYPE state) { return Format("SetTransform(%ld)", state); }
std::string Draw(D3DPRIMITIVETYPE type, UINT first, UINT count) { return Format("DrawPrimitive(%ld,%ld,%ld)", type, first, count); }
std::string Texture(int n) { return Format("SetTexture(0,texture#%ld)", n); }

class SceneDraw : public SceneOnFakes {
protected:
    void SetUp() override {
        device = AddUnit();
        ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
        scene.time = 7.25f;   // distinct matrices for every transform
        scene.AdvanceScene();
        device->ClearLog();
    }
    FakeDevice* device = nullptr;
};

TEST_F(SceneDraw, OneFrameIsTheFixedSequenceOfCallsAndMatrices) {
    EXPECT_EQ(scene.DrawScene(), S_OK);
    const std::vector<std::string> expected = {
        Transform(D3DTS_VIEW), Transform(D3DTS_PROJECTION),
        TSS(D3DTSS_MINFILTER, D3DTEXF_LINEAR), TSS(D3DTSS_MAGFILTER, D3DTEXF_LINEAR),
        TSS(D3DTSS_MIPFILTER, D3DTEXF_LINEAR), RS(D3DRS_LIGHTING, FALSE),
        "SetVertexShader(258)", "SetStreamSource(0,vb#1,20)", "Clear(0,3,0xffffffff,1,0)",
        "BeginScene()",
        // sky and clouds
        Transform(D3DTS_WORLD), Texture(1), Draw(D3DPT_TRIANGLELIST, 0, 96),
        Transform(D3DTS_TEXTURE0), TSS(D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2),
        RS(D3DRS_ALPHABLENDENABLE, TRUE), RS(D3DRS_SRCBLEND, D3DBLEND_ONE),
        RS(D3DRS_DESTBLEND, D3DBLEND_ONE), Texture(2), Draw(D3DPT_TRIANGLELIST, 288, 96),
        RS(D3DRS_ALPHABLENDENABLE, FALSE), TSS(D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE),
        // slabs
        Texture(3), RS(D3DRS_ZENABLE, TRUE), RS(D3DRS_ALPHABLENDENABLE, TRUE),
        RS(D3DRS_SRCBLEND, D3DBLEND_SRCCOLOR), RS(D3DRS_DESTBLEND, D3DBLEND_SRCCOLOR),
        Draw(D3DPT_TRIANGLELIST, 900, 2), Draw(D3DPT_TRIANGLELIST, 906, 66),
        RS(D3DRS_ALPHABLENDENABLE, FALSE), Draw(D3DPT_TRIANGLELIST, 1104, 272),
        // glow band
        RS(D3DRS_ZENABLE, FALSE), RS(D3DRS_ALPHABLENDENABLE, TRUE),
        RS(D3DRS_SRCBLEND, D3DBLEND_SRCCOLOR), RS(D3DRS_DESTBLEND, D3DBLEND_ONE),
        TSS(D3DTSS_MIPFILTER, D3DTEXF_NONE), RS(D3DRS_CULLMODE, D3DCULL_NONE),
        Transform(D3DTS_WORLD), Texture(4), Draw(D3DPT_TRIANGLESTRIP, 1920, 2),
        Draw(D3DPT_TRIANGLESTRIP, 1924, 2),
        // restore, then the cube
        RS(D3DRS_ALPHABLENDENABLE, FALSE), Transform(D3DTS_WORLD), RS(D3DRS_ZENABLE, TRUE),
        TSS(D3DTSS_MIPFILTER, D3DTEXF_LINEAR), RS(D3DRS_CULLMODE, D3DCULL_CCW),
        Texture(3), Transform(D3DTS_WORLD), Draw(D3DPT_TRIANGLELIST, 576, 108),
        Transform(D3DTS_WORLD), "EndScene()",
    };
    EXPECT_EQ(device->calls, expected) << device->Log();

    const D3DMATRIX* matrices[] = {&scene.viewMatrix,    nullptr,           &scene.identityWorld,
                                   &scene.cloudTexMatrix, &scene.glowMatrix, &scene.identityWorld,
                                   &scene.cubeWorld,      &scene.identityWorld};
    ASSERT_EQ(device->transformHistory.size(), std::size(matrices));
    for (size_t i = 0; i < std::size(matrices); ++i)
        if (matrices[i])
            EXPECT_EQ(std::memcmp(&device->transformHistory[i].second, matrices[i], sizeof(D3DMATRIX)), 0) << i;
}

TEST_F(SceneDraw, TheFrameLeavesTheStatesTheNextFrameStartsFrom) {
    scene.DrawScene();
    EXPECT_EQ(device->renderStates[D3DRS_LIGHTING], DWORD(FALSE));
    EXPECT_EQ(device->renderStates[D3DRS_ALPHABLENDENABLE], DWORD(FALSE));
    EXPECT_EQ(device->renderStates[D3DRS_ZENABLE], DWORD(TRUE));
    EXPECT_EQ(device->renderStates[D3DRS_CULLMODE], DWORD(D3DCULL_CCW));
    EXPECT_EQ((device->textureStageStates[{0, D3DTSS_MIPFILTER}]), DWORD(D3DTEXF_LINEAR));
    EXPECT_EQ((device->textureStageStates[{0, D3DTSS_TEXTURETRANSFORMFLAGS}]), DWORD(D3DTTFF_DISABLE));
    EXPECT_EQ(device->boundTextures[0], scene.Objects().stoneTexture);
    EXPECT_EQ(device->streamSource, scene.Objects().vertexBuffer);
    EXPECT_EQ(std::memcmp(&device->transforms[D3DTS_WORLD], &scene.identityWorld, sizeof(D3DMATRIX)), 0);
    EXPECT_EQ(device->renderStates.count(D3DRS_ZWRITEENABLE), 0u);   // depth writing never touched
}

TEST_F(SceneDraw, AFrameThatCannotBeBegunDrawsNothing) {
    device->beginSceneResults = {D3DERR_INVALIDCALL};
    EXPECT_EQ(scene.DrawScene(), S_OK);
    EXPECT_TRUE(device->Called("Clear(0,3,0xffffffff,1,0)"));
    EXPECT_EQ(device->calls.back(), "BeginScene()");
    EXPECT_EQ(device->CountCalls("DrawPrimitive") + device->CountCalls("EndScene"), 0);
}

}  // namespace
