// The shipped bitmaps through the program's own surface loader, the way the scene fills
// its textures: every level of the three 7-level chains loads into the matching level of
// a 256 x 256 X8R8G8B8 texture and shows exactly its palette colours (same size, so no
// filtering), and the 32 x 32 glow stretched onto a 256 x 256 level still runs from dark
// to bright over the rows the glow band shows.
#include <gtest/gtest.h>

#include "art_resources.h"
#include "doubles/fake_direct3d.h"
#include "gfxutil/d3dx_surface.h"
#include "host/release.h"

using namespace arttest;

namespace {

class ArtLoading : public ::testing::Test {
protected:
    void SetUp() override {
        d3d_->AddAdapter();
        D3DPRESENT_PARAMETERS params{};
        params.Windowed = TRUE;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &params,
                                     &device_), D3D_OK);
    }
    void TearDown() override { ReleaseAndClear(device_); }

    // Loads `id` into level `level` of `texture` and returns the level's pixels (0x00RRGGBB).
    std::vector<DWORD> LoadLevel(IDirect3DTexture8* texture, UINT level, int id) {
        IDirect3DSurface8* surface = nullptr;
        std::vector<DWORD> pixels;
        if (FAILED(texture->GetSurfaceLevel(level, &surface))) return pixels;
        EXPECT_EQ(D3DXLoadSurfaceFromResourceA(surface, nullptr, nullptr, nullptr, MAKEINTRESOURCEA(id), nullptr,
                                               D3DX_DEFAULT, 0, nullptr), D3D_OK) << id;
        ReleaseAndClear(surface);
        D3DSURFACE_DESC desc{};
        D3DLOCKED_RECT locked{};
        texture->GetLevelDesc(level, &desc);
        if (FAILED(texture->LockRect(level, &locked, nullptr, D3DLOCK_READONLY))) return pixels;
        for (UINT y = 0; y < desc.Height; ++y) {
            const auto* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
            for (UINT x = 0; x < desc.Width; ++x) pixels.push_back(row[x] & 0xFFFFFF);
        }
        texture->UnlockRect(level);
        return pixels;
    }

    FakeRef<FakeDirect3D> d3d_{new FakeDirect3D};
    IDirect3DDevice8* device_ = nullptr;
};

}  // namespace

TEST_F(ArtLoading, EveryChainLevelFillsItsTextureLevelExactly) {
    for (const auto& chain : Chains()) {
        IDirect3DTexture8* texture = nullptr;
        ASSERT_EQ(device_->CreateTexture(256, 256, 7, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
        for (UINT level = 0; level < chain.size(); ++level) {
            SCOPED_TRACE(chain[level].id);
            const Picture picture = LoadPicture(chain[level].id);
            const std::vector<DWORD> pixels = LoadLevel(texture, level, chain[level].id);
            ASSERT_EQ(pixels.size(), static_cast<size_t>(picture.size) * picture.size);
            int wrong = 0;
            for (int y = 0; y < picture.size; ++y) {
                for (int x = 0; x < picture.size; ++x) {
                    const int* c = picture.At(x, y);
                    wrong += pixels[static_cast<size_t>(y) * picture.size + x] != DWORD(c[0] << 16 | c[1] << 8 | c[2]);
                }
            }
            EXPECT_EQ(wrong, 0);
        }
        ReleaseAndClear(texture);
    }
}

TEST_F(ArtLoading, GlowStretchesFromDarkTopToBrightBottom) {
    IDirect3DTexture8* texture = nullptr;
    ASSERT_EQ(device_->CreateTexture(256, 256, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture), D3D_OK);
    const std::vector<DWORD> pixels = LoadLevel(texture, 0, kGlow.id);
    ReleaseAndClear(texture);
    ASSERT_EQ(pixels.size(), 256u * 256u);
    auto brightness = [&](int y) {
        const DWORD c = pixels[static_cast<size_t>(y) * 256 + 128];
        return int(c >> 16 & 255) + int(c >> 8 & 255) + int(c & 255);
    };
    // The band samples v = 0.11 .. 0.99, rows 28 .. 253; the default filter wraps, so the
    // rows at the very top and bottom borrow from each other and are left out.
    EXPECT_LT(brightness(28), 20);
    EXPECT_GT(brightness(248), 650);
    for (int y = 36; y <= 248; y += 8) EXPECT_GE(brightness(y) + 6, brightness(y - 8)) << y;
}
