// Adapter enumeration against scripted adapters, grouped by rule: the mode list, the
// adapter formats and windowed rendering, the default combo, the behaviour and
// depth-stencil rules, the device types, the monitor link and the table limits.
#include "d3denv/adapter_enumeration.h"

#include <algorithm>

#include "saver_with_fakes.h"

using Enumeration = SaverWithFakes;

namespace {
std::vector<D3DDISPLAYMODE> Modes(std::initializer_list<D3DDISPLAYMODE> modes) { return modes; }
}

// ---- Mode list ----------------------------------------------------------------------
TEST_F(Enumeration, ModesAreListedOnceSortedAndSmallOnesDropped) {
    FakeAdapter& a = AddAdapterWithMonitor();
    a.modes = Modes({FakeMode(800, 600, D3DFMT_X8R8G8B8, 60), FakeMode(800, 600, D3DFMT_X8R8G8B8, 75),
                     FakeMode(640, 480, D3DFMT_X8R8G8B8, 85), FakeMode(640, 480, D3DFMT_R5G6B5),
                     FakeMode(640, 480, D3DFMT_X1R5G5B5), FakeMode(320, 240, D3DFMT_X8R8G8B8),
                     FakeMode(640, 350, D3DFMT_X8R8G8B8), FakeMode(512, 384, D3DFMT_X8R8G8B8),
                     FakeMode(800, 600, D3DFMT_X8R8G8B8, 85)});
    a.hal.rejectedFormats = {};
    Enumerate();
    const DeviceInfo& hal = Adapter(0).devices[0];
    ASSERT_EQ(hal.comboCount, 4u);
    EXPECT_EQ(hal.combos[0].format, D3DFMT_X1R5G5B5);
    EXPECT_EQ(hal.combos[1].format, D3DFMT_R5G6B5);
    EXPECT_EQ(hal.combos[2].format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(hal.combos[3].width, 800u);
    EXPECT_EQ(hal.combos[3].height, 600u);

    D3DDISPLAYMODE wide = FakeMode(800, 480, D3DFMT_R5G6B5), tall = FakeMode(640, 600, D3DFMT_R5G6B5);
    EXPECT_LT(CompareModes(tall, wide), 0);
    EXPECT_EQ(CompareModes(wide, FakeMode(800, 480, D3DFMT_R5G6B5, 75)), 0);
}

// ---- Adapter formats and windowed rendering -----------------------------------------
TEST_F(Enumeration, DesktopFormatIsTriedFirstAndAloneDecidesWindowedRendering) {
    FakeAdapter& a = AddAdapterWithMonitor();
    a.desktopMode = FakeMode(1024, 768, D3DFMT_A8R8G8B8);   // no mode of its own
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].canRenderWindowed, 1u);

    d3d->adapters[0].desktopMode.Format = D3DFMT_X8R8G8B8;
    d3d->adapters[0].hal.rejectedFormats = {D3DFMT_X8R8G8B8};
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].canRenderWindowed, 0u);
    EXPECT_EQ(Adapter(0).devices[0].comboCount, 3u);   // the R5G6B5 modes

    d3d->adapters[0].hal.rejectedFormats = {};
    d3d->adapters[0].hal.caps.Caps2 = 0;
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].canRenderWindowed, 0u);
}

// ---- Default combo ------------------------------------------------------------------
TEST_F(Enumeration, DefaultComboPrefersSixteenBitAt640x480) {
    AddAdapterWithMonitor();
    Enumerate();
    const DeviceInfo& both = Adapter(0).devices[0];
    EXPECT_EQ(both.combos[both.currentCombo].format, D3DFMT_R5G6B5);
    EXPECT_EQ(both.combos[both.currentCombo].width, 640u);

    d3d->adapters[0].modes = Modes({FakeMode(640, 480, D3DFMT_X8R8G8B8), FakeMode(800, 600, D3DFMT_R5G6B5)});
    saver.FreeAdapters();
    Enumerate();
    const DeviceInfo& only32 = Adapter(0).devices[0];
    EXPECT_EQ(only32.combos[only32.currentCombo].format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(only32.combos[only32.currentCombo].width, 640u);

    d3d->adapters[0].modes = Modes({FakeMode(1024, 768, D3DFMT_R5G6B5), FakeMode(800, 600, D3DFMT_X8R8G8B8)});
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].currentCombo, 0u);
}

// ---- Behaviour and depth-stencil rules ----------------------------------------------
TEST_F(Enumeration, BehaviourFollowsTheCapsAndTheScenesVerdict) {
    AddAdapterWithMonitor();
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].combos[0].behaviorFlags, 0x50u);

    saver.acceptDevice = [](const D3DCAPS8*, DWORD flags, D3DFORMAT) {
        return flags == 0x50 ? E_FAIL : S_OK;
    };
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].combos[0].behaviorFlags, 0x40u);

    saver.acceptDevice = nullptr;
    d3d->adapters[0].hal.caps.DevCaps = 0;
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].combos[0].behaviorFlags, 0x20u);

    saver.acceptDevice = [](const D3DCAPS8*, DWORD, D3DFORMAT) { return E_FAIL; };
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).deviceCount, 0u);
    EXPECT_EQ(Adapter(0).hasHardwareDevice, 1u);
    EXPECT_EQ(Adapter(0).hardwareCompatible, 0u);
}

TEST_F(Enumeration, DepthStencilFormatsAreTriedInOrderAndNoneMeansNoCombos) {
    FakeAdapter& a = AddAdapterWithMonitor();
    a.hal.depthFormats = {D3DFMT_D24S8, D3DFMT_D15S1};
    Enumerate();
    EXPECT_EQ(Adapter(0).devices[0].combos[0].depthStencilFormat, D3DFMT_D24S8);

    d3d->adapters[0].hal.depthFormats = {};
    saver.FreeAdapters();
    Enumerate();
    EXPECT_EQ(Adapter(0).deviceCount, 0u);
    EXPECT_EQ(Adapter(0).hardwareCompatible, 0u);

    saver.useDepthBuffer = 0;
    saver.FreeAdapters();
    Enumerate();
    ASSERT_EQ(Adapter(0).deviceCount, 1u);
    EXPECT_EQ(Adapter(0).devices[0].combos[0].depthStencilFormat, D3DFORMAT(0));
}

// ---- Device types -------------------------------------------------------------------
TEST_F(Enumeration, AdaptersWithoutHalOrWithoutSoftwareDevice) {
    FakeAdapter& noHal = AddAdapterWithMonitor();
    noHal.hal.available = false;
    noHal.sw = noHal.hal;
    noHal.sw.available = true;
    noHal.sw.caps = FakeCaps(0, true);
    noHal.sw.depthFormats = {D3DFMT_D16};
    AddAdapterWithMonitor();   // HAL only
    Enumerate();

    ASSERT_EQ(saver.adapterCount, 2u);
    EXPECT_EQ(Adapter(0).deviceCount, 1u);
    EXPECT_EQ(Adapter(0).devices[0].deviceType, D3DDEVTYPE_SW);
    EXPECT_STREQ(Adapter(0).devices[0].typeName, "SW");
    EXPECT_EQ(Adapter(0).hasHardwareDevice, 0u);
    EXPECT_EQ(Adapter(0).softwareCompatible, 1u);

    EXPECT_EQ(Adapter(1).deviceCount, 1u);
    EXPECT_EQ(Adapter(1).devices[0].deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(Adapter(1).hasSoftwareDevice, 0u);
    EXPECT_EQ(Adapter(1).softwareCompatible, 0u);
    EXPECT_EQ(Adapter(1).hardwareCompatible, 1u);
}

// ---- Monitor link -------------------------------------------------------------------
TEST_F(Enumeration, AdaptersFindTheirMonitorsAndUnknownMonitorsStayUnlinked) {
    AddAdapterWithMonitor();
    AddAdapterWithMonitor();
    d3d->adapters[0].monitor = saver.monitors[1].monitorHandle;
    d3d->adapters[1].monitor = FakeMonitorHandle(99);
    saver.monitors[0].adapterOrdinal = -1;
    saver.monitors[1].adapterOrdinal = -1;
    Enumerate();
    EXPECT_EQ(Adapter(0).monitorIndex, 1);
    EXPECT_EQ(saver.monitors[1].adapterOrdinal, 0);
    EXPECT_EQ(Adapter(1).monitorIndex, -1);
    EXPECT_EQ(saver.monitors[0].adapterOrdinal, -1);
}

// ---- Limits -------------------------------------------------------------------------
TEST_F(Enumeration, SurplusAdaptersFormatsModesAndCombosAreIgnored) {
    for (int i = 0; i < 11; i++) d3d->AddAdapter();
    FakeAdapter& big = d3d->adapters[0];
    big.modes.clear();
    // 30 formats x 10 sizes: more formats than 20, more modes than 100.
    for (int f = 0; f < 30; f++)
        for (UINT w = 640; w < 640 + 10 * 16; w += 16)
            big.modes.push_back(FakeMode(w, 480, D3DFORMAT(100 + f)));
    // 16 x 16 sizes in one format: more than 150 combos.
    FakeAdapter& many = d3d->adapters[1];
    many.modes.clear();
    for (UINT w = 0; w < 16; w++)
        for (UINT h = 0; h < 16; h++) many.modes.push_back(FakeMode(640 + w, 480 + h, D3DFMT_R5G6B5));
    Enumerate();
    EXPECT_EQ(saver.adapterCount, kMaxAdapters);
    EXPECT_LE(Adapter(0).devices[0].comboCount, kMaxModes);
    EXPECT_EQ(Adapter(1).devices[0].comboCount, kMaxModes);   // 256 modes, 100 kept
    saver.FreeAdapters();
    EXPECT_EQ(saver.adapters[0], nullptr);
}

// ---- Windowed format check ----------------------------------------------------------
TEST_F(Enumeration, WindowedFormatCheckNeedsTheTypeTheBehaviourAndADepthFormat) {
    FakeAdapter& a = AddAdapterWithMonitor();
    a.hal.windowedFormats = {D3DFMT_X8R8G8B8};
    Enumerate();
    DWORD flags = 0;
    D3DFORMAT depth = D3DFMT_UNKNOWN;
    EXPECT_EQ(saver.CheckWindowedFormat(0, D3DFMT_X8R8G8B8, &flags, &depth), S_OK);
    EXPECT_EQ(flags, 0x50u);
    EXPECT_EQ(depth, D3DFMT_D16);
    EXPECT_EQ(saver.CheckWindowedFormat(0, D3DFMT_R5G6B5, &flags, &depth), D3DERR_NOTAVAILABLE);
    d3d->adapters[0].hal.depthFormats = {};
    EXPECT_EQ(saver.CheckWindowedFormat(0, D3DFMT_X8R8G8B8, &flags, &depth), E_FAIL);
    Adapter(0).currentDevice = kNoIndex;
    EXPECT_EQ(saver.CheckWindowedFormat(0, D3DFMT_X8R8G8B8, &flags, &depth), E_FAIL);
    EXPECT_EQ(saver.CheckWindowedFormat(5, D3DFMT_X8R8G8B8, &flags, &depth), E_FAIL);
}
