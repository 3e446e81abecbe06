// The real scene on the platform's own Direct3D 8 (needs an X display under Wine): frames
// drawn into a 600 x 400 window at a fixed time and settings, read back from the (lockable)
// back buffer and checked region by region (sky, slabs, cube, glow), with margins wide
// enough for another rasterizer. The frames are saved as scene_frame_*.png in the working
// directory (the build's test folder) for a look. Wine's GetFrontBuffer gives a black
// picture under Xvfb, so the back buffer is read just before it would be presented.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "host/direct3d_loader.h"
#include "host/release.h"
#include "png.h"
#include "scene/sky_scene.h"

namespace {

constexpr int kWidth = 600, kHeight = 400;

struct Rgb {
    double r, g, b;
    double Brightness() const { return (r + g + b) / 3; }
};

// A window and a windowed device on the default adapter, in the desktop's format.
class RealScene : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CirraneSceneRenderTest";
        ::RegisterClassA(&windowClass);
        RECT frame = {0, 0, kWidth, kHeight};
        ::AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window = ::CreateWindowExA(0, "CirraneSceneRenderTest", "scene",
                                   WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40,
                                   frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                   nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(window, nullptr);
        scene.direct3d = CreateDirect3D();
        ASSERT_NE(scene.direct3d, nullptr);
        scene.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &desktop);
        D3DPRESENT_PARAMETERS params = {};
        params.BackBufferFormat = desktop.Format;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_COPY;
        params.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        params.hDeviceWindow = window;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D16;
        RenderUnit& unit = scene.units[0];
        unit.presentParams = params;
        ASSERT_EQ(scene.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                               D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                               &unit.presentParams, &unit.device), D3D_OK);
        scene.unitCount = 1;
        scene.windowed = 1;
        scene.mainWindow = window;
        ::GetClientRect(window, &scene.windowRect);
        scene.renderRect = scene.windowRect;
        scene.SelectRenderUnit(0);
        ASSERT_EQ(scene.activeDevice, unit.device);
        ASSERT_EQ(scene.RestoreSceneObjects(), S_OK);
    }
    void TearDown() override {
        scene.ReleaseSceneObjects();
        ReleaseAndClear(scene.units[0].device);
        scene.activeDevice = nullptr;
        ReleaseAndClear(scene.direct3d);
        if (window) ::DestroyWindow(window);
    }

    // Draws and presents a few frames at time t, then draws it once more and reads the
    // back buffer before it is presented.
    void RenderAt(double t) {
        scene.time = t;
        scene.AdvanceScene();
        for (int i = 0; i < 3; ++i) {
            scene.DrawScene();
            scene.activeDevice->Present(nullptr, nullptr, nullptr, nullptr);
        }
        scene.DrawScene();
        ReadBackBuffer();
    }

    // The back buffer as rows of RGB bytes (the desktop under Xvfb is 32-bit).
    void ReadBackBuffer() {
        IDirect3DSurface8* surface = nullptr;
        ASSERT_EQ(scene.activeDevice->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &surface), D3D_OK);
        D3DSURFACE_DESC desc = {};
        surface->GetDesc(&desc);
        D3DLOCKED_RECT locked = {};
        const bool readable = (desc.Format == D3DFMT_X8R8G8B8 || desc.Format == D3DFMT_A8R8G8B8) &&
                              SUCCEEDED(surface->LockRect(&locked, nullptr, D3DLOCK_READONLY));
        pixels.assign(size_t(kWidth) * kHeight * 3, 0);
        for (int y = 0; readable && y < kHeight; ++y) {
            const auto* row = static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch;
            for (int x = 0; x < kWidth; ++x) {
                BYTE* rgb = &pixels[(size_t(y) * kWidth + x) * 3];
                rgb[0] = row[x * 4 + 2]; rgb[1] = row[x * 4 + 1]; rgb[2] = row[x * 4];
            }
        }
        if (readable) surface->UnlockRect();
        ReleaseAndClear(surface);
        ASSERT_TRUE(readable) << "back buffer format " << desc.Format;
    }

    void Save(const char* name) {
        const std::vector<std::uint8_t> png = artgen::EncodePng(kWidth, kHeight, 3, pixels);
        if (FILE* file = std::fopen(name, "wb")) {
            std::fwrite(png.data(), 1, png.size(), file);
            std::fclose(file);
        }
    }

    // Mean colour of a rectangle of the frame.
    Rgb Mean(int left, int top, int right, int bottom) const {
        Rgb sum = {0, 0, 0};
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const BYTE* p = &pixels[(size_t(y) * kWidth + x) * 3];
                sum.r += p[0]; sum.g += p[1]; sum.b += p[2];
            }
        const double n = double(right - left) * (bottom - top);
        return {sum.r / n, sum.g / n, sum.b / n};
    }

    HWND window = nullptr;
    D3DDISPLAYMODE desktop = {};
    SkyScene scene;
    std::vector<std::uint8_t> pixels;
};

// At t = 0 the flying camera is at (0, 0.5, 2) looking along -z at the cube's height: the
// cube in the middle, the horizon with the glow just below the middle, the central slab
// below it and the sky above.
TEST_F(RealScene, FlyingCameraAtTimeZeroShowsSkyGlowCubeAndSlab) {
    scene.cameraPath = 0;
    scene.cubeAnimation = 0;
    scene.skySpeed = 0.2f;
    RenderAt(0.0);
    Save("scene_frame_flying_t0.png");

    const Rgb sky = Mean(0, 0, 600, 60), skyLow = Mean(0, 100, 600, 140);
    EXPECT_GT(sky.b, 120);                     // deep blue with clouds
    EXPECT_GT(sky.b, sky.r + 50);
    EXPECT_GT(skyLow.b, skyLow.r + 50);

    const Rgb cube = Mean(275, 175, 325, 225);   // pale stone, no colour cast, not the clear
    EXPECT_GT(cube.Brightness(), 130);
    EXPECT_LT(cube.Brightness(), 245);
    EXPECT_LT(std::max({cube.r, cube.g, cube.b}) - std::min({cube.r, cube.g, cube.b}), 40);

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
