// The Direct3D test doubles themselves: reference counts that end in release and
// memory-backed resources, so that the leak checks of every other suite can be trusted.
// (Their call logs and scripted results are exercised by the suites that use them.)
#include <gtest/gtest.h>

#include "doubles/fake_direct3d.h"

namespace {

IDirect3DDevice8* MakeDevice(FakeDirect3D* d3d) {
    D3DPRESENT_PARAMETERS params = {800, 600, D3DFMT_R5G6B5, 1};
    IDirect3DDevice8* device = nullptr;
    EXPECT_EQ(d3d->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0x40, &params, &device), D3D_OK);
    return device;
}

}  // namespace

TEST(FakeDirect3D, ResourcesKeepTheirDeviceAndTheDeviceKeepsDirect3D) {
    FakeLiveCounts before = LiveFakes();
    {
        FakeRef<FakeDirect3D> d3d(new FakeDirect3D);
        d3d->AddAdapter();
        IDirect3DDevice8* device = MakeDevice(d3d.get());
        ASSERT_NE(device, nullptr);
        EXPECT_EQ(d3d->RefCount(), 2u);

        IDirect3DTexture8* texture = nullptr;
        ASSERT_EQ(device->CreateTexture(256, 256, 7, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, &texture), D3D_OK);
        EXPECT_EQ(texture->GetLevelCount(), 7u);
        IDirect3DSurface8* level = nullptr;
        ASSERT_EQ(texture->GetSurfaceLevel(6, &level), D3D_OK);
        D3DSURFACE_DESC desc;
        level->GetDesc(&desc);
        EXPECT_EQ(desc.Width, 4u);
        EXPECT_EQ(desc.Format, D3DFMT_R5G6B5);
        D3DLOCKED_RECT locked;
        ASSERT_EQ(level->LockRect(&locked, nullptr, 0), D3D_OK);
        static_cast<BYTE*>(locked.pBits)[0] = 0x5A;
        level->UnlockRect();
        EXPECT_EQ(static_cast<FakeTexture*>(texture)->levels[6].memory[0], 0x5A);

        device->Release();   // the texture still holds the device
        EXPECT_EQ(LiveFakes().devices, before.devices + 1);
        texture->Release();  // the level surface still holds the texture
        EXPECT_EQ(LiveFakes().textures, before.textures + 1);
        level->Release();
        EXPECT_EQ(d3d->RefCount(), 1u);
    }
    EXPECT_EQ(LiveFakes().Total(), before.Total());
}
