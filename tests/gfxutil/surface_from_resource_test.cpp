// D3DXLoadSurfaceFromResourceA on resources of a module made for the test: a copy of this
// test executable with a bitmap resource and a raw-data resource added, loaded as data.
#include <gtest/gtest.h>

#include <string>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"
#include "gfxutil/dib_builder.h"

namespace {

constexpr WORD kBitmapId = 701, kRawId = 702, kMissingId = 703;

class ResourceModule : public ::testing::Test {
protected:
    void SetUp() override {
        char self[MAX_PATH], dir[MAX_PATH];
        ::GetModuleFileNameA(nullptr, self, MAX_PATH);
        ::GetTempPathA(MAX_PATH, dir);
        path_ = std::string(dir) + "cirrane_resource_test.dll";
        ASSERT_TRUE(::CopyFileA(self, path_.c_str(), FALSE));
        DibLayout layout;
        layout.width = 2;
        layout.height = 2;   // bottom-up: the first stored row is the bottom one
        auto dib = MakeDib8(layout, RampColour, [](int x, int y) { return 10 * y + x; });
        HANDLE update = ::BeginUpdateResourceA(path_.c_str(), FALSE);
        ASSERT_NE(nullptr, update);
        ASSERT_TRUE(::UpdateResourceA(update, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(kBitmapId),
                                      0, dib.data(), DWORD(dib.size())));
        dib[0x28 + 4 * 10] = 0x77;   // the raw copy differs in colour 10 (blue)
        ASSERT_TRUE(::UpdateResourceA(update, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(kRawId),
                                      0, dib.data(), DWORD(dib.size())));
        ASSERT_TRUE(::EndUpdateResourceA(update, FALSE));
        module_ = ::LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module_);
    }
    void TearDown() override {
        if (module_) ::FreeLibrary(module_);
        ::DeleteFileA(path_.c_str());
    }
    HRESULT Load(MemorySurface& s, WORD id, D3DXIMAGE_INFO* info = nullptr) {
        return D3DXLoadSurfaceFromResourceA(&s, nullptr, nullptr, module_, MAKEINTRESOURCEA(id),
                                            nullptr, D3DX_DEFAULT, 0, info);
    }

    std::string path_;
    HMODULE module_ = nullptr;
};

TEST_F(ResourceModule, BitmapThenRawDataThenNothing) {
    MemorySurface bitmap(2, 2, D3DFMT_X8R8G8B8), raw(2, 2, D3DFMT_X8R8G8B8);
    D3DXIMAGE_INFO info = {};
    ASSERT_EQ(S_OK, Load(bitmap, kBitmapId, &info));
    EXPECT_EQ(RampColour(10), bitmap.Pixel(0, 0));   // stored row 1 is the top row
    EXPECT_EQ(RampColour(1), bitmap.Pixel(1, 1));
    EXPECT_EQ(2u, info.Width);
    EXPECT_EQ(D3DFMT_P8, info.Format);
    EXPECT_EQ(D3DXIFF_DIB, info.ImageFileFormat);
    EXPECT_EQ(D3DRTYPE_TEXTURE, info.ResourceType);

    ASSERT_EQ(S_OK, Load(raw, kRawId));
    EXPECT_EQ(0x77u, raw.Pixel(0, 0) & 0xFF);

    MemorySurface untouched(2, 2, D3DFMT_X8R8G8B8);
    untouched.Fill(0x42);
    EXPECT_EQ(D3DXERR_INVALIDDATA, Load(untouched, kMissingId));
    EXPECT_EQ(0, untouched.lockCount);
    EXPECT_EQ(0x42u, untouched.Pixel(1, 1));
}

}  // namespace
