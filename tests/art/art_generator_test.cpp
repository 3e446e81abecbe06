// The art generator is deterministic, and makes the very bytes the build packed into the
// program (on another compiler and C library), so the program shows what it makes; the glow
// as loaded runs from dark to bright.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "art_set.h"
#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

namespace {

std::vector<std::uint8_t> ResourceBytes(int id, LPCSTR type) {
    HRSRC info = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    HGLOBAL handle = info ? ::LoadResource(nullptr, info) : nullptr;
    const auto* data = handle ? static_cast<const std::uint8_t*>(::LockResource(handle)) : nullptr;
    return data ? std::vector<std::uint8_t>(data, data + ::SizeofResource(nullptr, info))
                : std::vector<std::uint8_t>();
}

}  // namespace

TEST(ArtGenerator, TwoRunsGiveTheFilesTheProgramCarries) {
    const std::vector<artgen::ArtFile> files = artgen::ResourceFiles(artgen::GenerateArt());
    const std::vector<artgen::ArtFile> again = artgen::ResourceFiles(artgen::GenerateArt());
    ASSERT_EQ(files.size(), again.size());
    for (size_t i = 0; i < files.size(); ++i) EXPECT_TRUE(files[i].bytes == again[i].bytes) << files[i].name;

    const auto& table = artgen::ArtBitmaps();
    ASSERT_EQ(table.size(), 22u);
    for (size_t i = 0; i < table.size(); ++i) {
        SCOPED_TRACE(table[i].id);
        const std::vector<std::uint8_t> dib = ResourceBytes(table[i].id, MAKEINTRESOURCEA(2));
        const std::vector<std::uint8_t>& file = files[i].bytes;
        ASSERT_EQ(files[i].name, table[i].file);
        ASSERT_EQ(file.size(), dib.size() + 14);  // the file header is not part of the resource
        EXPECT_TRUE(std::equal(dib.begin(), dib.end(), file.begin() + 14));
    }
}

TEST(ShippedArt, GlowStretchesFromDarkTopToBrightBottom) {
    MemorySurface level(256, 256, D3DFMT_X8R8G8B8);
    const LPCSTR glow = MAKEINTRESOURCEA(artgen::ArtBitmaps()[21].id);
    ASSERT_EQ(D3DXLoadSurfaceFromResourceA(&level, nullptr, nullptr, nullptr, glow, nullptr, D3DX_DEFAULT, 0,
                                           nullptr), D3D_OK);
    auto brightness = [&](UINT y) {
        const uint32_t c = level.Pixel(128, y);
        return int(c >> 16 & 255) + int(c >> 8 & 255) + int(c & 255);
    };
    // The band samples v = 0.11 .. 0.99, rows 28 .. 253; the default filter wraps, so the
    // rows at the very top and bottom borrow from each other and are left out.
    EXPECT_LT(brightness(28), 20);
    EXPECT_GT(brightness(248), 650);
    for (UINT y = 36; y <= 248; y += 8) EXPECT_GE(brightness(y) + 6, brightness(y - 8)) << y;
}

// 16 and 32 pixels at 100 to 200 %, 48, and 256 (0 in the directory).
TEST(ShippedArt, IconHoldsEverySizeWindowsAsksFor) {
    const std::vector<std::uint8_t> group = ResourceBytes(101, MAKEINTRESOURCEA(14));
    std::vector<int> sides;
    for (size_t at = 6; at + 14 <= group.size(); at += 14) sides.push_back(group[at]);
    EXPECT_EQ(sides, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 0}));
}
