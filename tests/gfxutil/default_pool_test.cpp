// Loading into a render target that cannot be locked, on Wine's real Direct3D 8: the loader
// goes through a temporary surface. Skipped where no X8R8G8B8 device can be made.
#include <gtest/gtest.h>

#include <vector>

#include "gfxutil/d3dx_surface.h"
#include "host/direct3d_loader.h"
#include "host/release.h"

TEST(DefaultPool, UnlockableRenderTargetIsFilledThroughATemporarySurface) {
    IDirect3D8* direct3d = CreateDirect3D();
    IDirect3DDevice8* device = nullptr;
    HWND window = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr,
                                    nullptr);
    D3DDISPLAYMODE mode = {};
    if (direct3d && SUCCEEDED(direct3d->GetAdapterDisplayMode(0, &mode)) && mode.Format == D3DFMT_X8R8G8B8) {
        D3DPRESENT_PARAMETERS pp = {64, 64, mode.Format, 1, D3DMULTISAMPLE_NONE, D3DSWAPEFFECT_DISCARD,
                                    window, TRUE};
        direct3d->CreateDevice(0, D3DDEVTYPE_HAL, window, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device);
    }
    IDirect3DSurface8 *target = nullptr, *copy = nullptr;
    if (device && SUCCEEDED(device->CreateImageSurface(16, 16, D3DFMT_X8R8G8B8, &copy)))
        device->CreateRenderTarget(16, 16, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, FALSE, &target);
    D3DLOCKED_RECT locked;
    auto readBack = [&](UINT x, UINT y) {
        DWORD value = 0xDEADBEEF;
        if (SUCCEEDED(device->CopyRects(target, nullptr, 0, copy, nullptr)) &&
            SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
            value = static_cast<DWORD*>(locked.pBits)[y * (locked.Pitch / 4) + x] & 0xFFFFFF;
            copy->UnlockRect();
        }
        return value;
    };
    std::vector<BYTE> pixels(16 * 16, 1), other(16 * 16, 2);
    PALETTEENTRY palette[256] = {};
    palette[1] = {0x30, 0x60, 0x90, 255};
    palette[2] = {0xA0, 0xB0, 0xC0, 255};
    const RECT all = {0, 0, 16, 16};
    // Regions short of the whole surface by one side each: the rest keeps its content.
    const RECT regions[] = {{4, 0, 16, 16}, {0, 4, 16, 16}, {0, 0, 12, 16}, {0, 0, 16, 12}};
    const bool made = target != nullptr;
    if (made) {
        EXPECT_TRUE(FAILED(target->LockRect(&locked, nullptr, 0))) << "the target must refuse locks";
        for (const RECT& region : regions) {
            const RECT source = {0, 0, region.right - region.left, region.bottom - region.top};
            EXPECT_EQ(S_OK, D3DXLoadSurfaceFromMemory(target, nullptr, nullptr, pixels.data(), D3DFMT_P8, 16,
                                                      palette, &all, D3DX_DEFAULT, 0));
            EXPECT_EQ(0x306090u, readBack(5, 5));
            EXPECT_EQ(S_OK, D3DXLoadSurfaceFromMemory(target, nullptr, &region, other.data(), D3DFMT_P8, 16,
                                                      palette, &source, D3DX_DEFAULT, 0));
            EXPECT_EQ(0xA0B0C0u, readBack(6, 6)) << region.left << region.top;
            EXPECT_EQ(0x306090u, readBack(region.left ? 1 : 14, region.top ? 1 : 14)) << region.right;
        }
    }
    ReleaseAndClear(copy);
    ReleaseAndClear(target);
    ReleaseAndClear(device);
    ReleaseAndClear(direct3d);
    ::DestroyWindow(window);
    if (!made) GTEST_SKIP() << "no X8R8G8B8 Direct3D device here";
}
