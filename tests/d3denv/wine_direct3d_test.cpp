// Enumeration and a windowed unit against Wine's real Direct3D 8 (needs the X server the
// test script provides): a HAL device with combos is found, a windowed unit is created,
// selected and released, and every reference to the Direct3D object is given back.
#include <gtest/gtest.h>

#include "host/direct3d_loader.h"
#include "host/release.h"
#include "host/saver.h"

namespace {

ULONG RefCountOf(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

}  // namespace

TEST(WineDirect3D, EnumeratesAHalDeviceAndRunsAWindowedUnit) {
    Saver saver;
    saver.useDepthBuffer = 1;
    saver.EnumerateMonitors();
    saver.direct3d = CreateDirect3D();
    ASSERT_NE(saver.direct3d, nullptr);
    ULONG startRefs = RefCountOf(saver.direct3d);

    ASSERT_EQ(saver.EnumerateAdapters(), S_OK);
    ASSERT_GE(saver.adapterCount, 1u);
    const AdapterInfo& adapter = *saver.adapters[0];
    ASSERT_GE(adapter.deviceCount, 1u);
    EXPECT_EQ(adapter.devices[0].deviceType, D3DDEVTYPE_HAL);
    EXPECT_GT(adapter.devices[0].comboCount, 0u);
    EXPECT_EQ(adapter.hardwareCompatible, 1u);
    EXPECT_EQ(adapter.monitorIndex, 0);
    EXPECT_EQ(saver.monitors[0].adapterOrdinal, 0);

    HWND window = ::CreateWindowExA(0, "STATIC", "cirrane test", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                    50, 50, 600, 400, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    saver.mainWindow = window;
    saver.windowed = 1;
    ::GetClientRect(window, &saver.windowRect);
    saver.renderRect = saver.windowRect;
    int ordinal = -1;
    ASSERT_TRUE(saver.PickBestAdapter(&ordinal));
    saver.adapters[ordinal]->deviceWindow = window;
    RenderUnit& unit = saver.units[saver.unitCount++];
    unit = {};
    unit.adapterOrdinal = UINT(ordinal);
    ASSERT_EQ(saver.CreateWindowedUnit(unit), S_OK);
    ASSERT_NE(unit.device, nullptr);

    saver.SelectRenderUnit(0);
    EXPECT_EQ(saver.activeDevice, unit.device);
    EXPECT_GT(saver.backBufferDesc.Width, 0u);
    EXPECT_EQ(saver.SetProjection(0.05f, 120.0f), S_OK);
    saver.DescribeDevices();
    EXPECT_EQ(std::string(unit.deviceStats).rfind("HAL", 0), 0u) << unit.deviceStats;

    saver.ReleaseDevices();
    EXPECT_EQ(unit.device, nullptr);
    EXPECT_EQ(RefCountOf(saver.direct3d), startRefs);
    saver.FreeAdapters();
    ReleaseAndClear(saver.direct3d);
    ::DestroyWindow(window);
}
