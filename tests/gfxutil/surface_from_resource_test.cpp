// D3DXLoadSurfaceFromResourceA on a module made for the test: a copy of this test executable
// with the bytes of one of its bitmaps added once as a bitmap and once as raw data, loaded as
// data. Either loads as the same bytes do from memory.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

TEST(SurfaceFromResource, BitmapThenRawDataThenNothing) {
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(136), MAKEINTRESOURCEA(2));   // the 32 x 32 glow
    ASSERT_NE(nullptr, found);
    const void* dib = ::LockResource(::LoadResource(nullptr, found));
    const DWORD size = ::SizeofResource(nullptr, found);
    char self[MAX_PATH], dir[MAX_PATH];
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    ::GetTempPathA(MAX_PATH, dir);
    const std::string path = std::string(dir) + "cirrane_resource_test.dll";
    ASSERT_TRUE(::CopyFileA(self, path.c_str(), FALSE));
    HANDLE update = ::BeginUpdateResourceA(path.c_str(), FALSE);
    for (WORD type : {2, 10})   // a bitmap as 701, raw data as 702
        ASSERT_TRUE(::UpdateResourceA(update, MAKEINTRESOURCEA(type), MAKEINTRESOURCEA(type == 2 ? 701 : 702),
                                      0, const_cast<void*>(dib), size));
    ASSERT_TRUE(::EndUpdateResourceA(update, FALSE));
    HMODULE module = ::LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module);
    auto load = [&](MemorySurface& s, WORD id, D3DXIMAGE_INFO* info = nullptr) {
        return D3DXLoadSurfaceFromResourceA(&s, nullptr, nullptr, module, MAKEINTRESOURCEA(id), nullptr,
                                            D3DX_DEFAULT, 0, info);
    };

    MemorySurface expected(32, 32, D3DFMT_X8R8G8B8), bitmap(32, 32, D3DFMT_X8R8G8B8),
        raw(32, 32, D3DFMT_X8R8G8B8);
    ASSERT_EQ(S_OK, D3DXLoadSurfaceFromFileInMemory(&expected, nullptr, nullptr, dib, UINT(size), nullptr,
                                                    D3DX_DEFAULT, 0, nullptr));
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(S_OK, load(bitmap, 701, &info));
    ASSERT_EQ(S_OK, load(raw, 702));
    for (UINT y = 0; y < 32; ++y)
        for (MemorySurface* s : {&bitmap, &raw}) ASSERT_EQ(0, std::memcmp(s->Row(y), expected.Row(y), 128)) << y;
    EXPECT_EQ(32u, info.Width);
    EXPECT_EQ(D3DFMT_P8, info.Format);
    EXPECT_EQ(D3DXIFF_DIB, info.ImageFileFormat);
    EXPECT_EQ(D3DRTYPE_TEXTURE, info.ResourceType);

    MemorySurface untouched(2, 2, D3DFMT_X8R8G8B8);
    untouched.Fill(0x42);
    EXPECT_EQ(D3DXERR_INVALIDDATA, load(untouched, 703));
    EXPECT_EQ(0, untouched.lockCount);
    EXPECT_EQ(0x42u, untouched.Pixel(1, 1));
    ::FreeLibrary(module);
    ::DeleteFileA(path.c_str());
}
