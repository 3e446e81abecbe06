// Pixel conversion and the triangle filter through D3DXLoadSurfaceFromMemory.
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
    P8Source src(16, 16);
    for (UINT i = 0; i < 256; ++i) src.At(i % 16, i / 16) = BYTE(i);
    auto colour = [](UINT i) { return i << 16 | (255 - i) << 8 | i / 2; };
    for (D3DFORMAT format : {D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8}) {
        MemorySurface dest(16, 16, format);
        ASSERT_EQ(S_OK, src.LoadInto(dest, D3DX_DEFAULT));
        uint32_t top = format == D3DFMT_A8R8G8B8 ? 0xFF000000u : 0;
        for (UINT i = 0; i < 256; ++i) ASSERT_EQ(top | colour(i), dest.Pixel(i % 16, i / 16)) << i;
        EXPECT_EQ(DWORD(D3DLOCK_NOSYSLOCK), dest.lastLockFlags);
        EXPECT_FALSE(dest.locked);
        EXPECT_TRUE(dest.GuardsIntact());
    }
    src.rect = {4, 3, 12, 14};
    MemorySurface part(8, 11, D3DFMT_X8R8G8B8);
    ASSERT_EQ(S_OK, src.LoadInto(part, D3DX_DEFAULT));
    for (UINT y = 0; y < 11; ++y)
        for (UINT x = 0; x < 8; ++x) ASSERT_EQ(colour(x + 4 + 16 * (y + 3)), part.Pixel(x, y)) << x << y;
}

TEST(SurfaceFromMemory, PackedSourcesDecodeEveryChannel) {
    const struct { D3DFORMAT format; uint16_t pixels[2]; uint32_t argb[2]; } cases[] = {
        {D3DFMT_A8L8, {0x4035, 0xFF00}, {0x40353535, 0xFF000000}},
        {D3DFMT_X1R5G5B5, {0x7C1F, 0x03E0}, {0xFFFF00FF, 0xFF00FF00}},
    };
    const RECT rect = {0, 0, 2, 1};
    for (const auto& c : cases) {
        MemorySurface dest(2, 1, D3DFMT_A8R8G8B8);
        ASSERT_EQ(S_OK, D3DXLoadSurfaceFromMemory(&dest, nullptr, nullptr, c.pixels, c.format, 4, nullptr,
                                                  &rect, D3DX_FILTER_TRIANGLE, 0));
        for (UINT x = 0; x < 2; ++x) EXPECT_EQ(c.argb[x], dest.Pixel(x, 0)) << c.format << " " << x;
    }
}

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

TEST(SurfaceFromMemory, BadCallsWriteNothing) {
    P8Source src(4, 4);
    MemorySurface dest(4, 4, D3DFMT_X8R8G8B8);
    dest.Fill(0x123456);
    for (DWORD filter : {DWORD(6), DWORD(D3DX_FILTER_TRIANGLE | 0x100000), DWORD(0)})
        EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, filter)) << filter;
    // Regions outside, inverted and empty; as source rectangles, also one too long.
    const RECT bad[] = {{0, 0, 5, 4}, {2, 0, 1, 4}, {1, 1, 1, 3}};
    for (const RECT& r : bad) EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT, &r));
    for (const RECT& r : {bad[1], bad[2], RECT{0, 0, 16385, 1}}) {
        src.rect = r;
        EXPECT_EQ(D3DERR_INVALIDCALL, src.LoadInto(dest, D3DX_DEFAULT));
    }
    src.rect = {0, 0, 4, 4};
    auto load = [&](IDirect3DSurface8* to, const void* pixels, D3DFORMAT format, const RECT* rect) {
        return D3DXLoadSurfaceFromMemory(to, nullptr, nullptr, pixels, format, 4, nullptr, rect,
                                         D3DX_DEFAULT, 0);
    };
    EXPECT_EQ(D3DERR_INVALIDCALL, load(nullptr, src.pixels.data(), D3DFMT_P8, &src.rect));
    EXPECT_EQ(D3DERR_INVALIDCALL, load(&dest, nullptr, D3DFMT_P8, &src.rect));
    EXPECT_EQ(D3DERR_INVALIDCALL, load(&dest, src.pixels.data(), D3DFMT_P8, nullptr));
    EXPECT_EQ(E_FAIL, load(&dest, src.pixels.data(), D3DFMT_DXT1, &src.rect));
    EXPECT_EQ(0, dest.lockCount);
    for (UINT y = 0; y < 4; ++y) EXPECT_EQ(0x123456u, dest.Pixel(y, y));
    // Filters not provided fail; a box filter halving one way only falls to the triangle.
    const struct { DWORD filter; UINT width, height; HRESULT expected; } rescales[] = {
        {D3DX_FILTER_POINT, 8, 8, E_FAIL}, {D3DX_FILTER_LINEAR, 8, 8, E_FAIL},
        {D3DX_FILTER_BOX, 2, 2, E_FAIL}, {D3DX_FILTER_BOX, 2, 4, S_OK},
    };
    for (const auto& r : rescales) {
        MemorySurface other(r.width, r.height, D3DFMT_X8R8G8B8);
        other.Fill(0x123456);
        EXPECT_EQ(r.expected, src.LoadInto(other, r.filter)) << r.filter << " " << r.width;
        EXPECT_FALSE(other.locked);
        if (FAILED(r.expected)) EXPECT_EQ(0x123456u, other.Pixel(1, 1));
    }
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
