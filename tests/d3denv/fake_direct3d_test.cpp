// The Direct3D test doubles themselves: reference counts that end in release, call logs,
// scripted results and memory-backed resources. Every other suite relies on these.
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

TEST(FakeDirect3D, DeviceLogsCallsAndReturnsScriptedResults) {
    FakeRef<FakeDirect3D> d3d(new FakeDirect3D);
    d3d->AddAdapter();
    d3d->onDeviceCreated = [](FakeDevice& device) {
        device.cooperativeLevelResults = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
        device.resetResult = D3DERR_INVALIDCALL;
        device.createVertexBufferResults = {D3D_OK};
        device.vertexBufferLockResults = {E_FAIL};
    };
    FakeRef<FakeDevice> device(static_cast<FakeDevice*>(MakeDevice(d3d.get())));
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    EXPECT_EQ(device->TestCooperativeLevel(), D3D_OK);
    EXPECT_EQ(device->Reset(&device->presentParams), D3DERR_INVALIDCALL);

    IDirect3DVertexBuffer8* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(40, D3DUSAGE_WRITEONLY, 0x102, D3DPOOL_MANAGED, &buffer), D3D_OK);
    BYTE* data = nullptr;
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), E_FAIL);
    ASSERT_EQ(buffer->Lock(0, 0, &data, 0), D3D_OK);
    EXPECT_EQ(buffer->Lock(0, 0, &data, 0), D3DERR_INVALIDCALL);   // already locked
    buffer->Unlock();
    device->SetStreamSource(0, buffer, 20);
    device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 96);
    buffer->Release();

    EXPECT_EQ(device->CountCalls("TestCooperativeLevel"), 3);
    EXPECT_TRUE(device->Called("Reset(800x600,23)"));
    int source = device->IndexOf("SetStreamSource(0,vb#1,20)");
    EXPECT_GE(source, 0) << device->Log();
    EXPECT_GT(device->IndexOf("DrawPrimitive(4,0,96)", source), source);
}
