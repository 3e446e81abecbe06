// Loading into a default-pool surface that cannot be locked (a render target made without
// lockability) on Wine's real Direct3D 8: the loader works through a temporary image
// surface and copies it back. Skipped where no Direct3D device can be made.
#include <gtest/gtest.h>

#include <vector>

#include "gfxutil/d3dx_surface.h"
#include "host/release.h"

namespace {

using CreateFn = IDirect3D8*(WINAPI*)(UINT);

class RealDevice : public ::testing::Test {
protected:
    void SetUp() override {
        library_ = ::LoadLibraryA("d3d8.dll");
        auto create = library_ ? reinterpret_cast<CreateFn>(::GetProcAddress(library_, "Direct3DCreate8")) : nullptr;
        direct3d_ = create ? create(D3D_SDK_VERSION) : nullptr;
        window_ = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr, nullptr, nullptr);
        D3DDISPLAYMODE mode = {};
        if (!direct3d_ || !window_ || FAILED(direct3d_->GetAdapterDisplayMode(0, &mode))) return;
        D3DPRESENT_PARAMETERS pp = {64, 64, mode.Format, 1, D3DMULTISAMPLE_NONE, D3DSWAPEFFECT_DISCARD, window_, TRUE};
        direct3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &device_);
        format_ = mode.Format;
    }
    void TearDown() override {
        ReleaseAndClear(device_);
        ReleaseAndClear(direct3d_);
        if (window_) ::DestroyWindow(window_);
        if (library_) ::FreeLibrary(library_);
    }
    // Reads a pixel of a surface back through a lockable image surface.
    DWORD ReadBack(IDirect3DSurface8* surface, UINT x, UINT y) {
        IDirect3DSurface8* copy = nullptr;
        DWORD value = 0xDEADBEEF;
        if (SUCCEEDED(device_->CreateImageSurface(16, 16, format_, &copy)) &&
            SUCCEEDED(device_->CopyRects(surface, nullptr, 0, copy, nullptr))) {
            D3DLOCKED_RECT locked;
            if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
                value = static_cast<DWORD*>(locked.pBits)[y * (locked.Pitch / 4) + x] & 0xFFFFFF;
                copy->UnlockRect();
            }
        }
        ReleaseAndClear(copy);
        return value;
    }

    HMODULE library_ = nullptr;
    IDirect3D8* direct3d_ = nullptr;
    IDirect3DDevice8* device_ = nullptr;
    HWND window_ = nullptr;
    D3DFORMAT format_ = D3DFMT_UNKNOWN;
};

TEST_F(RealDevice, UnlockableRenderTargetIsFilledThroughATemporarySurface) {
    if (!device_ || format_ != D3DFMT_X8R8G8B8) GTEST_SKIP() << "no X8R8G8B8 Direct3D device here";
    IDirect3DSurface8* target = nullptr;
    ASSERT_EQ(S_OK, device_->CreateRenderTarget(16, 16, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, FALSE, &target));
    D3DLOCKED_RECT probe;
    ASSERT_TRUE(FAILED(target->LockRect(&probe, nullptr, 0))) << "the target must refuse locks";

    std::vector<BYTE> pixels(16 * 16, 1);
    PALETTEENTRY palette[256] = {};
    palette[1] = {0x30, 0x60, 0x90, 255};
    palette[2] = {0xA0, 0xB0, 0xC0, 255};
    RECT all = {0, 0, 16, 16};
    ASSERT_EQ(S_OK, D3DXLoadSurfaceFromMemory(target, nullptr, nullptr, pixels.data(), D3DFMT_P8, 16,
                                              palette, &all, D3DX_DEFAULT, 0));
    EXPECT_EQ(0x306090u, ReadBack(target, 5, 5));

    // A region: the rest of the surface keeps its content.
    std::fill(pixels.begin(), pixels.end(), 2);
    RECT region = {4, 4, 8, 8}, source = {0, 0, 4, 4};
    ASSERT_EQ(S_OK, D3DXLoadSurfaceFromMemory(target, nullptr, &region, pixels.data(), D3DFMT_P8, 16,
                                              palette, &source, D3DX_DEFAULT, 0));
    EXPECT_EQ(0xA0B0C0u, ReadBack(target, 5, 5));
    EXPECT_EQ(0x306090u, ReadBack(target, 12, 12));
    ReleaseAndClear(target);
}

}  // namespace
