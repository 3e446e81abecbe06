// D3DXLoadSurfaceFromFileInMemory: every DIB form it takes, those it refuses, bad headers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <utility>
#include <vector>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"
#include "gfxutil/image_reader.h"

namespace {

using Bytes = std::vector<BYTE>;

void Put(Bytes& b, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) b[at + i] = BYTE(value >> (8 * i));
}
uint32_t Ramp(uint32_t i) { return i << 16 | (255 - i) << 8 | i / 2; }   // table entry i

// `colours` ramp entries in the colour table (0: 2^bits up to 8 bits), then `pixels`.
Bytes Dib(int32_t width, int32_t height, uint16_t bits, uint32_t compression, uint32_t colours,
          std::initializer_list<BYTE> pixels = {}, uint32_t headerSize = 40) {
    const uint32_t entries = colours ? colours : bits <= 8 ? 1u << bits : 0;
    Bytes b(headerSize + 4 * size_t(entries), 0);
    Put(b, 0, headerSize), Put(b, 4, uint32_t(width)), Put(b, 8, uint32_t(height));
    Put(b, 12, 1u | uint32_t(bits) << 16), Put(b, 16, compression), Put(b, 32, colours);
    for (uint32_t i = 0; i < entries; ++i) Put(b, headerSize + 4 * i, Ramp(i));
    b.insert(b.end(), pixels);
    return b;
}

template <class Index>
Bytes Dib8(int32_t width, int32_t height, uint32_t colours, Index index) {
    Bytes b = Dib(width, height, 8, BI_RGB, colours);
    const size_t stride = (size_t(width) + 3) & ~size_t(3), start = b.size(), rows = size_t(std::abs(height));
    b.resize(start + stride * rows, 0);
    for (size_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < width; ++x) b[start + y * stride + x] = BYTE(index(x, int(y)));
    return b;
}

HRESULT Read(const Bytes& data, gfx::LoadedImage& image, D3DXIMAGE_INFO* info = nullptr) {
    return gfx::ReadImage(data.data(), data.size(), image, info);
}

TEST(DibReader, BottomUpRowsLandBottomUpAndShortTablesAreWhite) {
    Bytes dib = Dib8(16, 16, 15, [](int x, int y) { return x + 16 * y; });
    MemorySurface dest(16, 16, D3DFMT_X8R8G8B8);
    ASSERT_EQ(S_OK, D3DXLoadSurfaceFromFileInMemory(&dest, nullptr, nullptr, dib.data(), UINT(dib.size()),
                                                    nullptr, D3DX_DEFAULT, 0, nullptr));
    for (UINT x = 0; x < 15; ++x) EXPECT_EQ(Ramp(x), dest.Pixel(x, 15));
    EXPECT_EQ(0xFFFFFFu, dest.Pixel(15, 15));   // index 15 and up: white
    EXPECT_EQ(0xFFFFFFu, dest.Pixel(0, 0));
}

TEST(DibReader, PackedTopDownAndRunLengthForms) {
    struct Case { Bytes data; BYTE top[3]; BYTE bottom[3]; } cases[] = {
        // Rows of 2 bytes padded to 4; stored bottom row first.
        {Dib(3, 2, 4, BI_RGB, 0, {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0}), {4, 5, 6}, {1, 2, 3}},
        {Dib(3, -2, 1, BI_RGB, 0, {0xA0, 0, 0, 0, 0x60, 0, 0, 0}), {1, 0, 1}, {0, 1, 1}},   // top-down
        // Bottom line: run of 2 x 7, literal [9]; next line: delta right 1, run of 2 x 5; end.
        {Dib(3, 2, 8, BI_RLE8, 16, {2, 7, 0, 3, 9, 1, 2, 0, 0, 0, 0, 2, 1, 0, 2, 5, 0, 1}),
         {0, 5, 5}, {7, 7, 9}},
        // Bottom line: 3 pixels alternating 1, 2; next line: literal 3, 4, 5; end.
        {Dib(3, 2, 4, BI_RLE4, 0, {3, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1}), {3, 4, 5}, {1, 2, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        gfx::LoadedImage image;
        ASSERT_EQ(S_OK, Read(c.data, image));
        ASSERT_EQ(D3DFMT_P8, image.format);
        ASSERT_EQ(3u, image.width);
        ASSERT_EQ(2u, image.height);
        for (UINT x = 0; x < 3; ++x) {
            EXPECT_EQ(c.top[x], image.pixels[x]) << x;
            EXPECT_EQ(c.bottom[x], image.pixels[image.pitch + x]) << x;
        }
    }
}

// The byte beyond the stream in memory (9 here) is never read as the run's value.
TEST(DibReader, RunLengthStreamCutAfterACountEndsThere) {
    const Bytes data = Dib(3, 1, 8, BI_RLE8, 16, {1, 7, 3, 9});
    gfx::LoadedImage image;
    ASSERT_EQ(S_OK, gfx::ReadImage(data.data(), data.size() - 1, image, nullptr));
    EXPECT_EQ(7, image.pixels[0]);
    EXPECT_NE(9, image.pixels[1]);
    EXPECT_NE(9, image.pixels[2]);
}

// Masks after a 40-byte header, or inside a BITMAPV4HEADER (108 bytes, with alpha).
TEST(DibReader, BitFieldMasksPickTheFormat) {
    const struct {
        uint16_t bits;
        uint32_t red, green, blue, alpha, header;
        D3DFORMAT format;   // unknown: refused
    } cases[] = {
        {16, 0xF800, 0x7E0, 0x1F, 0, 40, D3DFMT_R5G6B5},
        {16, 0x7C00, 0x3E0, 0x1F, 0, 40, D3DFMT_X1R5G5B5},
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 108, D3DFMT_A8R8G8B8},
        {32, 0xFF0000, 0xFF00, 0xFF, 0xF0000000, 108, D3DFMT_UNKNOWN},
    };
    for (const auto& c : cases) {
        Bytes dib = Dib(1, 1, c.bits, BI_BITFIELDS, 0, {1, 2, 3, 4}, c.header);
        if (c.header == 40) dib.insert(dib.begin() + 40, 12, 0);
        const uint32_t masks[] = {c.red, c.green, c.blue, c.alpha};
        for (int i = 0; i < (c.header == 40 ? 3 : 4); ++i) Put(dib, 40 + 4 * i, masks[i]);
        gfx::LoadedImage image;
        EXPECT_EQ(c.format ? S_OK : E_FAIL, Read(dib, image)) << c.red;
        if (c.format) EXPECT_EQ(c.format, image.format) << c.red;
    }
}

TEST(DibReader, RefusesOtherFormatsAndMalformedHeaders) {
    const Bytes good = Dib8(4, 4, 0, [](int, int) { return 1; });
    auto with = [&good](std::initializer_list<std::pair<size_t, uint32_t>> changes) {
        Bytes b = good;
        for (auto [at, value] : changes) Put(b, at, value);
        return b;
    };
    Bytes tga(18, 0);
    tga[2] = 2, tga[12] = tga[14] = 1, tga[16] = 24;
    Bytes oddTga = tga;   // a depth TGA does not define: not TGA, and too short for a DIB
    oddTga[16] = 7;
    struct Case { Bytes data; HRESULT expected; } cases[] = {
        {{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}, D3DXERR_INVALIDDATA},
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0}, D3DXERR_INVALIDDATA},
        {{'P', '6', '\n', '1', ' ', '1', '\n'}, D3DXERR_INVALIDDATA},
        {tga, D3DXERR_INVALIDDATA},
        {oddTga, E_FAIL},
        {Bytes(good.begin(), good.begin() + 39), E_FAIL},     // shorter than a header
        {with({{0, 12}}), E_FAIL},                            // BITMAPCOREHEADER
        {with({{12, 2}}), E_FAIL},                            // two planes
        {with({{32, 0x40000000}}), E_FAIL},                   // colour table past the end
        {with({{0, 0xFFFFFFF0}}), E_FAIL},                    // header past the end
        {with({{4, 0x80000000}}), E_FAIL},                    // negative width
        {with({{8, 0x80000000}}), E_FAIL},                    // height -2^31
        {with({{4, 100000}}), E_FAIL},                        // wider than any surface
        {Bytes(good.begin(), good.end() - 1), E_FAIL},        // last row cut short
        {with({{12, 1 | 2 << 16}}), E_FAIL},                  // 2 bits per pixel
        {with({{16, 4}}), E_NOTIMPL},                         // BI_JPEG
        {with({{16, BI_RLE4}}), E_FAIL},                      // RLE4 with 8 bits
        {with({{16, BI_RLE8}, {8, uint32_t(-4)}}), E_FAIL},   // top-down run lengths
        // Past 64 MiB of decoded pixels the reader declines to allocate.
        {with({{16, BI_RLE8}, {4, 16384}, {8, 16384}}), E_OUTOFMEMORY},
    };
    for (const Case& c : cases) {
        gfx::LoadedImage image;
        EXPECT_EQ(c.expected, Read(c.data, image)) << "case " << (&c - cases);
    }

    Bytes bmpFile = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put(bmpFile, 2, uint32_t(14 + good.size()));
    bmpFile.insert(bmpFile.end(), good.begin(), good.end());
    D3DXIMAGE_INFO info = {};
    gfx::LoadedImage fromFile;
    ASSERT_EQ(S_OK, Read(bmpFile, fromFile, &info));
    EXPECT_EQ(D3DXIFF_BMP, info.ImageFileFormat);
    EXPECT_EQ(4u, info.Height);

    MemorySurface dest(4, 4, D3DFMT_X8R8G8B8);
    const RECT outside = {0, 0, 5, 4};
    for (auto [size, rect] : {std::pair{UINT(good.size()), &outside}, std::pair{0u, (const RECT*)nullptr}}) {
        EXPECT_EQ(D3DERR_INVALIDCALL, D3DXLoadSurfaceFromFileInMemory(&dest, nullptr, nullptr, good.data(),
                                                                      size, rect, D3DX_DEFAULT, 0, nullptr));
    }
    EXPECT_EQ(0, dest.lockCount);
}

}  // namespace
