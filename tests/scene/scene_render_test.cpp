// The real scene on Wine's Direct3D 8, read back from the back buffer (the front buffer is
// black under Xvfb) and checked region by region with margins for another rasterizer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "host/direct3d_loader.h"
#include "host/release.h"
#include "scene/sky_scene.h"

namespace {

constexpr int kWidth = 600, kHeight = 400;

struct Rgb {
    double r, g, b;
    double Brightness() const { return (r + g + b) / 3; }
};

class RealScene : public ::testing::Test {
protected:
    void SetUp() override {
        RECT frame = {0, 0, kWidth, kHeight};
        ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window = ::CreateWindowExA(0, "STATIC", "scene", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   40, 40, frame.right - frame.left, frame.bottom - frame.top,
                                   nullptr, nullptr, nullptr, nullptr);
        scene.direct3d = CreateDirect3D();
        ASSERT_TRUE(window && scene.direct3d);
        D3DDISPLAYMODE desktop = {};
        scene.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop);
        D3DPRESENT_PARAMETERS& params = scene.units[0].presentParams;
        params = {0, 0, desktop.Format, 1, D3DMULTISAMPLE_NONE, D3DSWAPEFFECT_COPY, window, TRUE,
                  TRUE, D3DFMT_D16, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER, 0, 0};
        ASSERT_EQ(scene.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                               D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                                               &scene.units[0].device), D3D_OK);
        scene.unitCount = 1;
        scene.windowed = 1;
        ::GetClientRect(window, &scene.windowRect);
        scene.renderRect = scene.windowRect;
        scene.SelectRenderUnit(0);
        ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
        scene.units[0].objectsRestored = 1;
    }
    void TearDown() override {
        scene.ReleaseEnvironment();   // the host's own end of the unit and its objects
        if (window) ::DestroyWindow(window);
    }

    void RenderAt(double t) {
        scene.time = t;
        scene.AdvanceScene();
        for (int i = 0; i < 3; ++i) {
            scene.DrawScene();
            scene.activeDevice->Present(nullptr, nullptr, nullptr, nullptr);
        }
        scene.DrawScene();
        IDirect3DSurface8* surface = nullptr;
        scene.activeDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface);
        D3DSURFACE_DESC desc = {};
        D3DLOCKED_RECT locked = {};
        ASSERT_TRUE(surface && SUCCEEDED(surface->GetDesc(&desc)) && desc.Format == D3DFMT_X8R8G8B8 &&
                    SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY)));
        pixels.assign(size_t(kWidth) * kHeight * 3, 0);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            const BYTE* bgrx = static_cast<const BYTE*>(locked.pBits) + (i / kWidth) * locked.Pitch + (i % kWidth) * 4;
            for (int c = 0; c < 3; ++c) pixels[size_t(i) * 3 + c] = bgrx[2 - c];
        }
        surface->UnlockRect();
        ReleaseAndClear(surface);
    }

    Rgb Mean(int left, int top, int right, int bottom) const {
        Rgb sum = {0, 0, 0};
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const std::uint8_t* p = &pixels[(size_t(y) * kWidth + x) * 3];
                sum.r += p[0]; sum.g += p[1]; sum.b += p[2];
            }
        const double n = double(right - left) * (bottom - top);
        return {sum.r / n, sum.g / n, sum.b / n};
    }

    HWND window = nullptr;
    SkyScene scene;
    std::vector<std::uint8_t> pixels;
};

// At t = 0 the flying camera at (0, 0.5, 2) looks along -z at the cube's height.
TEST_F(RealScene, FlyingCameraAtTimeZeroShowsSkyGlowCubeAndSlab) {
    scene.cameraPath = 0;
    scene.cubeAnimation = 0;
    scene.skySpeed = 0.2f;
    RenderAt(0.0);

    const Rgb sky = Mean(0, 0, 600, 60), skyLow = Mean(0, 100, 600, 140);
    EXPECT_GT(sky.b, 120);                     // deep blue with clouds
    EXPECT_GT(sky.b, sky.r + 50);
    EXPECT_GT(skyLow.b, skyLow.r + 50);

    for (int top : {155, 185, 225}) {            // the cube: pale stone without colour cast
        const Rgb cube = Mean(275, top, 325, top + 25);
        EXPECT_GT(cube.Brightness(), 130) << top;
        EXPECT_LT(cube.Brightness(), 245) << top;
        EXPECT_LT(std::max({cube.r, cube.g, cube.b}) - std::min({cube.r, cube.g, cube.b}), 40) << top;
    }

    for (int left : {40, 400}) {                // glow on both sides of the cube: bright, warm
        const Rgb glow = Mean(left, 200, left + 160, 220);
        EXPECT_GT(glow.Brightness(), skyLow.Brightness() + 60) << left;
        EXPECT_GT(glow.r, 220) << left;
        EXPECT_GT(glow.r, glow.b) << left;
    }

    const Rgb slab = Mean(200, 300, 400, 360);   // the central slab's tiles over the sky
    EXPECT_GT(slab.Brightness(), skyLow.Brightness() + 40);
    EXPECT_LT(slab.Brightness(), 245);
}

}  // namespace
