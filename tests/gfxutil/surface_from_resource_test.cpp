// D3DXLoadSurfaceFromResourceA on this executable's own bitmaps.
#include <gtest/gtest.h>

#include <cstring>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

TEST(SurfaceFromResource, BitmapLoadsAsItsBytesAndAMissingOneWritesNothing) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(136), MAKEINTRESOURCEA(2));   // the 32 x 32 glow
    ASSERT_NE(nullptr, found);
    auto load = [](MemorySurface& s, WORD id, D3DXIMAGE_INFO* info = nullptr) {
        return D3DXLoadSurfaceFromResourceA(&s, nullptr, nullptr, nullptr, MAKEINTRESOURCEA(id), nullptr,
                                            D3DX_DEFAULT, 0, info);
    };
    MemorySurface expected(32, 32, D3DFMT_X8R8G8B8), bitmap(32, 32, D3DFMT_X8R8G8B8);
    ASSERT_EQ(S_OK, D3DXLoadSurfaceFromFileInMemory(&expected, nullptr, nullptr,
                                                    ::LockResource(::LoadResource(nullptr, found)),
                                                    UINT(::SizeofResource(nullptr, found)), nullptr,
                                                    D3DX_DEFAULT, 0, nullptr));
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(S_OK, load(bitmap, 136, &info));
    for (UINT y = 0; y < 32; ++y) ASSERT_EQ(0, std::memcmp(bitmap.Row(y), expected.Row(y), 128)) << y;
    EXPECT_EQ(32u, info.Width);
    EXPECT_EQ(D3DFMT_P8, info.Format);
    EXPECT_EQ(D3DXIFF_DIB, info.ImageFileFormat);
    EXPECT_EQ(D3DRTYPE_TEXTURE, info.ResourceType);

    MemorySurface untouched(2, 2, D3DFMT_X8R8G8B8);
    untouched.Fill(0x42);
    EXPECT_EQ(D3DXERR_INVALIDDATA, load(untouched, 703));
    EXPECT_EQ(0, untouched.lockCount);
    EXPECT_EQ(0x42u, untouched.Pixel(1, 1));
}
