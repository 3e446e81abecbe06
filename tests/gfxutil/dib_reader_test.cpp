// The image readers and D3DXLoadSurfaceFromFileInMemory: every DIB form the reader takes,
// the formats it must refuse, and malformed headers.
#include <gtest/gtest.h>

#include <vector>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"
#include "gfxutil/dib_builder.h"
#include "gfxutil/image_reader.h"

namespace {

using Bytes = std::vector<BYTE>;

HRESULT Read(const Bytes& data, gfx::LoadedImage& image, D3DXIMAGE_INFO* info = nullptr) {
    return gfx::ReadImage(data.data(), data.size(), image, info);
}

BYTE IndexAt(const gfx::LoadedImage& image, UINT x, UINT y) {
    return image.pixels[int64_t(y) * image.pitch + x];
}

Bytes WithPixels(Bytes header, std::initializer_list<BYTE> pixels) {
    header.insert(header.end(), pixels);
    return header;
}

TEST(DibReader, BottomUpRowsLandBottomUpAndShortTablesAreWhite) {
    DibLayout layout;
    layout.width = 16;
    layout.height = 16;
    layout.colorsUsed = 15;
    Bytes dib = MakeDib8(layout, RampColour, [](int x, int y) { return (x + 16 * y) & 0xFF; });
    MemorySurface dest(16, 16, D3DFMT_X8R8G8B8);
    ASSERT_EQ(S_OK, D3DXLoadSurfaceFromFileInMemory(&dest, nullptr, nullptr, dib.data(),
                                                    UINT(dib.size()), nullptr, D3DX_DEFAULT, 0,
                                                    nullptr));
    // The first stored row (indices 0 to 15) is the bottom row of the surface.
    for (UINT x = 0; x < 15; ++x) EXPECT_EQ(RampColour(x), dest.Pixel(x, 15));
    EXPECT_EQ(0xFFFFFFu, dest.Pixel(15, 15));   // index 15 and up: white
    EXPECT_EQ(0xFFFFFFu, dest.Pixel(0, 0));
}

TEST(DibReader, PackedTopDownAndRunLengthForms) {
    auto ramp = RampColour;
    DibLayout four;
    four.width = 3;
    four.height = 2;
    four.bitCount = 4;
    // Rows of 2 bytes padded to 4; stored bottom row first.
    Bytes packed4 = WithPixels(DibHeaderAndTable(four, ramp), {0x12, 0x30, 0, 0, 0x45, 0x60, 0, 0});
    DibLayout one = four;
    one.bitCount = 1;
    one.height = -2;   // top-down
    Bytes packed1 = WithPixels(DibHeaderAndTable(one, ramp), {0xA0, 0, 0, 0, 0x60, 0, 0, 0});
    DibLayout rle8 = four;
    rle8.bitCount = 8;
    rle8.compression = BI_RLE8;
    // Bottom line: run of 2 x 7, literal [9]; next line: delta right 1, run of 2 x 5; end.
    Bytes runs8 = WithPixels(DibHeaderAndTable(rle8, ramp),
                             {2, 7, 0, 3, 9, 1, 2, 0, 0, 0, 0, 2, 1, 0, 2, 5, 0, 1});
    DibLayout rle4 = four;
    rle4.compression = BI_RLE4;
    // Bottom line: 3 pixels alternating 1, 2; next line: literal 3, 4, 5; end.
    Bytes runs4 = WithPixels(DibHeaderAndTable(rle4, ramp),
                             {3, 0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 1});

    struct Case { const Bytes* data; BYTE top[3]; BYTE bottom[3]; } cases[] = {
        {&packed4, {4, 5, 6}, {1, 2, 3}},
        {&packed1, {1, 0, 1}, {0, 1, 1}},
        {&runs8, {0, 5, 5}, {7, 7, 9}},
        {&runs4, {3, 4, 5}, {1, 2, 1}},
    };
    for (const Case& c : cases) {
        gfx::LoadedImage image;
        ASSERT_EQ(S_OK, Read(*c.data, image));
        ASSERT_EQ(D3DFMT_P8, image.format);
        ASSERT_EQ(3u, image.width);
        ASSERT_EQ(2u, image.height);
        for (UINT x = 0; x < 3; ++x) {
            EXPECT_EQ(c.top[x], IndexAt(image, x, 0)) << "case " << (&c - cases) << " x " << x;
            EXPECT_EQ(c.bottom[x], IndexAt(image, x, 1)) << "case " << (&c - cases) << " x " << x;
        }
    }
}

TEST(DibReader, BitFieldMasksPickTheFormat) {
    DibLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.bitCount = 16;
    layout.compression = BI_BITFIELDS;
    Bytes masks565 = DibHeaderAndTable(layout, RampColour);
    for (uint32_t m : {0xF800u, 0x7E0u, 0x1Fu}) {
        masks565.resize(masks565.size() + 4);
        PutDword(masks565, masks565.size() - 4, m);
    }
    masks565.insert(masks565.end(), {0x1F, 0xF8, 0, 0});
    gfx::LoadedImage image;
    ASSERT_EQ(S_OK, Read(masks565, image));
    EXPECT_EQ(D3DFMT_R5G6B5, image.format);

    layout.bitCount = 32;
    layout.headerSize = 108;   // masks inside a BITMAPV4HEADER, alpha included
    Bytes v4 = DibHeaderAndTable(layout, RampColour);
    PutDword(v4, 40, 0xFF0000);
    PutDword(v4, 44, 0xFF00);
    PutDword(v4, 48, 0xFF);
    PutDword(v4, 52, 0xFF000000);
    v4.insert(v4.end(), {1, 2, 3, 4});
    gfx::LoadedImage argb;
    ASSERT_EQ(S_OK, Read(v4, argb));
    EXPECT_EQ(D3DFMT_A8R8G8B8, argb.format);
    PutDword(v4, 52, 0xF0000000);
    gfx::LoadedImage odd;
    EXPECT_EQ(E_FAIL, Read(v4, odd));
}

TEST(DibReader, RefusesOtherFormatsAndMalformedHeaders) {
    DibLayout layout;
    Bytes good = MakeDib8(layout, RampColour, [](int, int) { return 1; });
    auto with = [&good](size_t at, uint32_t value) {
        Bytes b = good;
        PutDword(b, at, value);
        return b;
    };
    Bytes bmpFile(14, 0);
    bmpFile[0] = 'B';
    bmpFile[1] = 'M';
    PutDword(bmpFile, 2, uint32_t(14 + good.size()));
    bmpFile.insert(bmpFile.end(), good.begin(), good.end());
    Bytes truncated(good.begin(), good.end() - 1);
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0};
    Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0};
    Bytes ppm = {'P', '6', '\n', '1', ' ', '1', '\n'};
    Bytes tga(18, 0);
    tga[2] = 2;
    tga[12] = tga[14] = 1;
    tga[16] = 24;

    struct Case { Bytes data; HRESULT expected; } cases[] = {
        {png, D3DXERR_INVALIDDATA}, {jpeg, D3DXERR_INVALIDDATA}, {ppm, D3DXERR_INVALIDDATA},
        {tga, D3DXERR_INVALIDDATA},
        {Bytes(good.begin(), good.begin() + 39), E_FAIL},     // shorter than a header
        {with(0, 12), E_FAIL},                                 // BITMAPCOREHEADER
        {with(12, 2), E_FAIL},                                 // two planes
        {with(32, 0x40000000), E_FAIL},                        // colour table past the end
        {with(0, 0xFFFFFFF0), E_FAIL},                         // header past the end
        {with(4, 0x80000000), E_FAIL},                         // negative width
        {with(8, 0x80000000), E_FAIL},                         // height -2^31
        {with(4, 100000), E_FAIL},                             // wider than any surface
        {truncated, E_FAIL},                                   // last row cut short
        {with(14, 2), E_FAIL},                                 // 2 bits per pixel
        {with(16, 4), E_NOTIMPL},                              // BI_JPEG
        {with(16, BI_RLE4), E_FAIL},                           // RLE4 with 8 bits
    };
    for (const Case& c : cases) {
        gfx::LoadedImage image;
        EXPECT_EQ(c.expected, Read(c.data, image)) << "case " << (&c - cases);
    }
    // A top-down run-length bitmap is malformed.
    Bytes topDownRle = with(16, BI_RLE8);
    PutDword(topDownRle, 8, uint32_t(-4));
    gfx::LoadedImage image;
    EXPECT_EQ(E_FAIL, Read(topDownRle, image));
    // A run-length bitmap may claim a size its few bytes cannot fill; past 64 MiB of decoded
    // pixels the reader declines to allocate.
    Bytes hugeRle = with(16, BI_RLE8);
    PutDword(hugeRle, 4, 16384);
    PutDword(hugeRle, 8, 16384);
    gfx::LoadedImage huge;
    EXPECT_EQ(E_OUTOFMEMORY, Read(hugeRle, huge));

    D3DXIMAGE_INFO info = {};
    gfx::LoadedImage fromFile;
    ASSERT_EQ(S_OK, Read(bmpFile, fromFile, &info));
    EXPECT_EQ(D3DXIFF_BMP, info.ImageFileFormat);
    EXPECT_EQ(4u, info.Height);

    MemorySurface dest(4, 4, D3DFMT_X8R8G8B8);
    RECT outside = {0, 0, 5, 4};
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXLoadSurfaceFromFileInMemory(&dest, nullptr, nullptr, good.data(), UINT(good.size()), &outside, D3DX_DEFAULT, 0, nullptr));
    EXPECT_EQ(D3DERR_INVALIDCALL, D3DXLoadSurfaceFromFileInMemory(&dest, nullptr, nullptr, good.data(), 0, nullptr, D3DX_DEFAULT, 0, nullptr));
    EXPECT_EQ(0, dest.lockCount);
}

}  // namespace
