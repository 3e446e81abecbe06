// Pixel conversion and the triangle filter through D3DXLoadSurfaceFromMemory, into
// memory-backed surfaces.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

namespace {

struct P8Source {
    UINT width, height;
    std::vector<BYTE> pixels;
    PALETTEENTRY palette[256];
    RECT rect;

    P8Source(UINT w, UINT h) : width(w), height(h), pixels(size_t(w) * h), rect{0, 0, LONG(w), LONG(h)} {
        for (int i = 0; i < 256; ++i) palette[i] = {BYTE(i), BYTE(255 - i), BYTE(i / 2), 255};
    }
    BYTE& At(UINT x, UINT y) { return pixels[size_t(y) * width + x]; }
    HRESULT LoadInto(MemorySurface& s, DWORD filter, const RECT* destRect = nullptr,
                     D3DCOLOR key = 0) {
        return D3DXLoadSurfaceFromMemory(&s, nullptr, destRect, pixels.data(), D3DFMT_P8,
                                         width, palette, &rect, filter, key);
    }
};

uint32_t Red(uint32_t argb) { return (argb >> 16) & 0xFF; }

TEST(SurfaceFromMemory, SameSizePaletteColoursArriveExactly) {
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        P8Source src(16, 16);
        for (UINT i = 0; i < 256; ++i) src.At(i % 16, i / 16) = BYTE(i);
        MemorySurface dest(16, 16, format);
        ASSERT_EQ(S_OK, src.LoadInto(dest, D3DX_DEFAULT));
        uint32_t top = format == D3DFMT_A8R8G8B8 ? 0xFF000000u : 0;
        for (UINT i = 0; i < 256; ++i) {
            uint32_t expected = top | i << 16 | (255 - i) << 8 | i / 2;
            ASSERT_EQ(expected, dest.Pixel(i % 16, i / 16)) << "index " << i;
        }
        EXPECT_EQ(DWORD(D3DLOCK_NOSYSLOCK), dest.lastLockFlags);
        EXPECT_FALSE(dest.locked);
        EXPECT_TRUE(dest.GuardsIntact());
    }
}

// Each packed format puts every channel in its own bits, at the nearest step.
TEST(SurfaceFromMemory, EveryChannelLandsInItsOwnBits) {
    const PALETTEENTRY colours[4] = {{255, 0, 0, 255}, {0, 255, 0, 0}, {0, 0, 255, 255}, {100, 180, 20, 0}};
    P8Source src(4, 1);
    for (BYTE i = 0; i < 4; ++i) src.palette[i] = colours[i], src.At(i, 0) = i;
    auto step = [](BYTE c) { return uint32_t(c / 255.0 * 31 + 0.5); };
    for (D3DFORMAT format : {D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5, D3DFMT_R8G8B8}) {
        MemorySurface dest(4, 1, format);
        ASSERT_EQ(S_OK, src.LoadInto(dest, D3DX_FILTER_TRIANGLE));
        for (UINT i = 0; i < 4; ++i) {
            const PALETTEENTRY& c = colours[i];
            uint32_t expected = uint32_t(c.peRed) << 16 | c.peGreen << 8 | c.peBlue;
            if (format != D3DFMT_R8G8B8) {
                expected = step(c.peRed) << 10 | step(c.peGreen) << 5 | step(c.peBlue);
                if (format == D3DFMT_A1R5G5B5 && c.peFlags) expected |= 0x8000;
            }
            EXPECT_EQ(expected, dest.Pixel(i, 0)) << "format " << format << " colour " << i;
        }
        EXPECT_TRUE(dest.GuardsIntact());
    }
}

TEST(SurfaceFromMemory, OrderedDitherAndNearestStepInto565) {
    P8Source src(8, 8);
    src.palette[7] = {100, 100, 100, 255};   // 100/255 x 31 = 12.16, x 63 = 24.71
    for (BYTE& p : src.pixels) p = 7;
    const float m[4][4] = {{15, 7, 13, 5}, {3, 11, 1, 9}, {12, 4, 14, 6}, {0, 8, 2, 10}};
    MemorySurface dithered(8, 8, D3DFMT_R5G6B5), plain(8, 8, D3DFMT_R5G6B5);
    ASSERT_EQ(S_OK, src.LoadInto(dithered, D3DX_DEFAULT));
    ASSERT_EQ(S_OK, src.LoadInto(plain, D3DX_FILTER_TRIANGLE));
    for (UINT y = 0; y < 8; ++y) {
        for (UINT x = 0; x < 8; ++x) {
            float d = (m[y % 4][x % 4] + 0.5f) / 16;
            uint32_t r5 = uint32_t(100 / 255.0f * 31 + d), g6 = uint32_t(100 / 255.0f * 63 + d);
            EXPECT_EQ(r5 << 11 | g6 << 5 | r5, dithered.Pixel(x, y)) << x << "," << y;
            EXPECT_EQ(12u << 11 | 25u << 5 | 12u, plain.Pixel(x, y));
        }
    }
    // The pattern really varies: both neighbouring steps of red appear.
    EXPECT_NE(dithered.Pixel(0, 0) >> 11, dithered.Pixel(0, 3) >> 11);
}

TEST(SurfaceFromMemory, UpscaleWrapsAtTheEdgesUnlessMirrored) {
    P8Source src(32, 32);
    src.palette[1] = {255, 0, 0, 255};
    src.palette[0] = {0, 0, 0, 255};
    for (UINT y = 0; y < 32; ++y) src.At(31, y) = 1;   // only the rightmost column is red
    MemorySurface wrapped(256, 256, D3DFMT_X8R8G8B8), mirrored(256, 256, D3DFMT_X8R8G8B8);
    ASSERT_EQ(S_OK, src.LoadInto(wrapped, D3DX_FILTER_TRIANGLE));
    ASSERT_EQ(S_OK, src.LoadInto(mirrored, D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR_U));
    for (UINT y : {0u, 100u, 255u}) {
        // Column 0: 0.4375 of the rightmost source column reaches it through the wrap.
        EXPECT_EQ(112u, Red(wrapped.Pixel(0, y)));
        EXPECT_EQ(0u, Red(mirrored.Pixel(0, y)));
        EXPECT_EQ(0u, Red(wrapped.Pixel(100, y)));
        EXPECT_EQ(255u, Red(mirrored.Pixel(255, y)));
        EXPECT_EQ(239u, Red(wrapped.Pixel(251, y)));   // 0.9375 on either side of the peak
        EXPECT_EQ(239u, Red(wrapped.Pixel(252, y)));
    }
    EXPECT_TRUE(wrapped.GuardsIntact());
}

TEST(SurfaceFromMemory, DownscaleToOnePixelIsThePlainMean) {
    P8Source src(256, 256);
    double sum[3] = {};
    for (UINT y = 0; y < 256; ++y) {
        for (UINT x = 0; x < 256; ++x) {
            BYTE i = BYTE(x * 7 + y * 13 + (x * y) % 5);
            src.At(x, y) = i;
            sum[0] += src.palette[i].peRed;
            sum[1] += src.palette[i].peGreen;
            sum[2] += src.palette[i].peBlue;
        }
    }
    for (DWORD filter : {DWORD(D3DX_FILTER_TRIANGLE), DWORD(D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR_U | D3DX_FILTER_MIRROR_V)}) {
        MemorySurface dest(1, 1, D3DFMT_X8R8G8B8);
        ASSERT_EQ(S_OK, src.LoadInto(dest, filter));
        uint32_t p = dest.Pixel(0, 0);
        EXPECT_NEAR(sum[0] / 65536, double((p >> 16) & 0xFF), 1.0);
        EXPECT_NEAR(sum[1] / 65536, double((p >> 8) & 0xFF), 1.0);
        EXPECT_NEAR(sum[2] / 65536, double(p & 0xFF), 1.0);
    }
}

TEST(SurfaceFromMemory, BadCallsWriteNothing) {
    P8Source src(4, 4);
    MemorySurface dest(4, 4, D3DFMT_X8R8G8B8);
    dest.Fill(0x123456);
    RECT outside = {0, 0, 5, 4}, inverted = {2, 0, 1, 4}, empty = {1, 1, 1, 3};
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, 6));
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_FILTER_TRIANGLE | 0x100000));
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, 0));
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT, &outside));
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT, &inverted));
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT, &empty));
    src.rect = inverted;
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT));
    src.rect = {0, 0, 16385, 1};   // longer than any surface side the loader takes
    EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT));
    src.rect = {0, 0, 4, 4};
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXLoadSurfaceFromMemory(nullptr, nullptr, nullptr, src.pixels.data(), D3DFMT_P8, 4, nullptr, &src.rect, D3DX_DEFAULT, 0));
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXLoadSurfaceFromMemory(&dest, nullptr, nullptr, nullptr, D3DFMT_P8, 4, nullptr, &src.rect, D3DX_DEFAULT, 0));
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXLoadSurfaceFromMemory(&dest, nullptr, nullptr, src.pixels.data(), D3DFMT_P8, 4, nullptr, nullptr, D3DX_DEFAULT, 0));
    EXPECT_EQ(E_FAIL, D3DXLoadSurfaceFromMemory(&dest, nullptr, nullptr, src.pixels.data(), D3DFMT_DXT1, 4, nullptr, &src.rect, D3DX_DEFAULT, 0));
    EXPECT_EQ(0, dest.lockCount);
    // Rescaling methods that are not provided fail rather than draw something else.
    MemorySurface bigger(8, 8, D3DFMT_X8R8G8B8);
    bigger.Fill(0x123456);
    EXPECT_EQ(E_FAIL, src.LoadInto(bigger, D3DX_FILTER_POINT));
    EXPECT_EQ(E_FAIL, src.LoadInto(bigger, D3DX_FILTER_LINEAR));
    EXPECT_FALSE(bigger.locked);
    for (UINT y = 0; y < 4; ++y) EXPECT_EQ(0x123456u, dest.Pixel(y, y));
    EXPECT_EQ(0x123456u, bigger.Pixel(5, 5));
}

TEST(SurfaceFromMemory, RegionColourKeyAndLockFailure) {
    P8Source src(2, 2);
    src.At(0, 0) = 9;
    src.palette[9] = {1, 2, 3, 255};
    MemorySurface dest(4, 4, D3DFMT_A8R8G8B8);
    dest.Fill(0x11111111);
    RECT region = {1, 1, 3, 3};
    ASSERT_EQ(S_OK, src.LoadInto(dest, D3DX_DEFAULT, &region, 0xFF010203));
    EXPECT_EQ(0u, dest.Pixel(1, 1));   // keyed: transparent black
    EXPECT_EQ(0xFF000000u | src.palette[0].peGreen << 8, dest.Pixel(2, 1));
    EXPECT_EQ(0x11111111u, dest.Pixel(0, 0));
    EXPECT_EQ(0x11111111u, dest.Pixel(3, 3));
    EXPECT_TRUE(dest.GuardsIntact());
    dest.lockResult = D3DERR_DEVICELOST;
    EXPECT_EQ(D3DERR_DEVICELOST, src.LoadInto(dest, D3DX_DEFAULT, &region));
}

}  // namespace
