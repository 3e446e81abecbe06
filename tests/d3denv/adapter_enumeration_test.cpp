// Adapter enumeration against scripted adapters, grouped by rule.
#include "d3denv/adapter_enumeration.h"

#include "saver_with_fakes.h"

namespace {

class Enumeration : public SaverWithFakes {
protected:
    void Reenumerate() {
        saver.FreeAdapters();
        Enumerate();
    }
    const DeviceInfo& Hal() { return Adapter(0).devices[0]; }
    const DeviceCombo& Current() { return Hal().combos[Hal().currentCombo]; }
};

}  // namespace

TEST_F(Enumeration, ModesAreListedOnceSortedAndSmallOnesDropped) {
    AddAdapterWithMonitor().modes = {
        FakeMode(800, 600, D3DFMT_X8R8G8B8, 60), FakeMode(800, 600, D3DFMT_X8R8G8B8, 75),
        FakeMode(640, 480, D3DFMT_X8R8G8B8, 85), FakeMode(640, 480, D3DFMT_R5G6B5),
        FakeMode(640, 480, D3DFMT_X1R5G5B5), FakeMode(320, 240, D3DFMT_X8R8G8B8),
        FakeMode(640, 350, D3DFMT_X8R8G8B8), FakeMode(512, 384, D3DFMT_X8R8G8B8)};
    Enumerate();
    ASSERT_EQ(Hal().comboCount, 4u);
    const D3DFORMAT order[] = {D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8};
    for (int i = 0; i < 4; i++) EXPECT_EQ(Hal().combos[i].format, order[i]) << i;
    EXPECT_EQ(Hal().combos[3].width * Hal().combos[3].height, 800u * 600u);
    EXPECT_LT(CompareModes(FakeMode(640, 600, D3DFMT_R5G6B5), FakeMode(800, 480, D3DFMT_R5G6B5)), 0);
}

TEST_F(Enumeration, DesktopFormatAloneDecidesWindowedRendering) {
    AddAdapterWithMonitor().desktopMode = FakeMode(1024, 768, D3DFMT_A8R8G8B8);
    Enumerate();
    EXPECT_EQ(Hal().canRenderWindowed, 1u);
    d3d->adapters[0].desktopMode.Format = D3DFMT_X8R8G8B8;
    d3d->adapters[0].hal.rejectedFormats = {D3DFMT_X8R8G8B8};
    Reenumerate();
    EXPECT_EQ(Hal().canRenderWindowed, 0u);
    EXPECT_EQ(Hal().comboCount, 3u);   // the R5G6B5 modes
    d3d->adapters[0].hal.rejectedFormats = {};
    d3d->adapters[0].hal.caps.Caps2 = 0;
    Reenumerate();
    EXPECT_EQ(Hal().canRenderWindowed, 0u);
}

TEST_F(Enumeration, DefaultComboPrefersSixteenBitAt640x480) {
    const struct {
        std::vector<D3DDISPLAYMODE> modes;
        D3DFORMAT format;
        UINT width;
    } cases[] = {
        {{}, D3DFMT_R5G6B5, 640},   // the adapter's default modes
        {{FakeMode(640, 480, D3DFMT_X8R8G8B8), FakeMode(640, 480, D3DFMT_X1R5G5B5)}, D3DFMT_X1R5G5B5, 640},
        {{FakeMode(640, 480, D3DFMT_X8R8G8B8), FakeMode(800, 600, D3DFMT_R5G6B5)}, D3DFMT_X8R8G8B8, 640},
        {{FakeMode(1024, 768, D3DFMT_R5G6B5), FakeMode(800, 600, D3DFMT_X8R8G8B8)}, D3DFMT_X8R8G8B8, 800},
    };
    FakeAdapter& a = AddAdapterWithMonitor();
    for (const auto& c : cases) {
        if (!c.modes.empty()) a.modes = c.modes;
        Reenumerate();
        EXPECT_EQ(Current().format, c.format);
        EXPECT_EQ(Current().width, c.width);
    }
}

TEST_F(Enumeration, BehaviourFollowsTheCapsAndTheScenesVerdict) {
    const DWORD pure = 0x50, hardware = 0x40, software = 0x20;
    const struct {
        DWORD devCaps, refused;   // the scene refuses `refused` (all flags when ~0)
        DWORD chosen;             // 0: no device
    } cases[] = {
        {D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, 0, pure},
        {D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, pure, hardware},
        {D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0, hardware},
        {0, 0, software},
        {D3DDEVCAPS_HWTRANSFORMANDLIGHT, ~0u, 0},
    };
    FakeAdapter& a = AddAdapterWithMonitor();
    for (const auto& c : cases) {
        a.hal.caps.DevCaps = c.devCaps;
        saver.acceptDevice = [&](const D3DCAPS8*, DWORD flags, D3DFORMAT) {
            return c.refused == ~0u || flags == c.refused ? E_FAIL : S_OK;
        };
        Reenumerate();
        EXPECT_EQ(Adapter(0).deviceCount, c.chosen ? 1u : 0u);
        EXPECT_EQ(Adapter(0).hardwareCompatible, c.chosen ? 1u : 0u);
        EXPECT_EQ(Adapter(0).hasHardwareDevice, 1u);
        if (c.chosen) EXPECT_EQ(Hal().combos[0].behaviorFlags, c.chosen) << c.devCaps;
    }
}

// D16, D15S1, D24X8, D24S8, D24X4S4, D32 in turn, leaving out those shallower than 16 bits.
TEST_F(Enumeration, DepthFormatIsTheFirstDeepEnoughAndNoneMeansNoCombos) {
    AddAdapterWithMonitor().hal.depthFormats = {D3DFMT_D24S8, D3DFMT_D15S1, D3DFMT_D24X8};
    Enumerate();
    EXPECT_EQ(Hal().combos[0].depthStencilFormat, D3DFMT_D24X8);
    d3d->adapters[0].hal.depthFormats = {};
    Reenumerate();
    EXPECT_EQ(Adapter(0).deviceCount, 0u);
    EXPECT_EQ(Adapter(0).hardwareCompatible, 0u);
    saver.useDepthBuffer = 0;
    Reenumerate();
    ASSERT_EQ(Adapter(0).deviceCount, 1u);
    EXPECT_EQ(Hal().combos[0].depthStencilFormat, D3DFORMAT(0));
}

TEST_F(Enumeration, AdaptersWithoutHalOrWithoutSoftwareDeviceAndTheirMonitors) {
    FakeAdapter& noHal = AddAdapterWithMonitor();
    noHal.sw = noHal.hal;
    noHal.sw.caps = FakeCaps(0, true);
    noHal.hal.available = false;
    AddAdapterWithMonitor();   // HAL only
    d3d->adapters[0].monitor = FakeMonitorHandle(2);    // the second monitor's
    d3d->adapters[1].monitor = FakeMonitorHandle(99);   // no monitor's: stays unlinked
    Enumerate();
    ASSERT_EQ(saver.adapterCount, 2u);
    EXPECT_EQ(Adapter(0).deviceCount, 1u);
    EXPECT_STREQ(Hal().typeName, "SW");
    EXPECT_EQ(Hal().deviceType, D3DDEVTYPE_SW);
    EXPECT_EQ(Adapter(0).hasHardwareDevice, 0u);
    EXPECT_EQ(Adapter(0).softwareCompatible, 1u);
    EXPECT_EQ(Adapter(1).deviceCount, 1u);
    EXPECT_EQ(Adapter(1).devices[0].deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(Adapter(1).hasSoftwareDevice + Adapter(1).softwareCompatible, 0u);
    EXPECT_EQ(Adapter(1).hardwareCompatible, 1u);
    EXPECT_EQ(Adapter(0).monitorIndex, 1);
    EXPECT_EQ(saver.monitors[1].adapterOrdinal, 0);
    EXPECT_EQ(Adapter(1).monitorIndex, -1);
    EXPECT_EQ(saver.monitors[0].adapterOrdinal, -1);
}

TEST_F(Enumeration, SurplusAdaptersFormatsModesAndCombosAreIgnored) {
    for (int i = 0; i < 11; i++) d3d->AddAdapter();
    std::vector<D3DDISPLAYMODE>& big = d3d->adapters[0].modes;
    big.clear();   // 30 formats x 10 sizes: more formats than 20, more modes than 100
    for (int f = 0; f < 30; f++)
        for (UINT w = 640; w < 640 + 10 * 16; w += 16) big.push_back(FakeMode(w, 480, D3DFORMAT(100 + f)));
    std::vector<D3DDISPLAYMODE>& many = d3d->adapters[1].modes;
    many.clear();   // 16 x 16 sizes in one format: more than 150 combos
    for (UINT w = 0; w < 16; w++)
        for (UINT h = 0; h < 16; h++) many.push_back(FakeMode(640 + w, 480 + h, D3DFMT_R5G6B5));
    Enumerate();
    EXPECT_EQ(saver.adapterCount, kMaxAdapters);
    EXPECT_LE(Hal().comboCount, kMaxModes);
    EXPECT_EQ(Adapter(1).devices[0].comboCount, kMaxModes);   // 256 modes, 100 kept
    saver.FreeAdapters();
    EXPECT_EQ(saver.adapters[0], nullptr);
}

TEST_F(Enumeration, WindowedFormatCheckNeedsTheTypeTheBehaviourAndADepthFormat) {
    AddAdapterWithMonitor().hal.windowedFormats = {D3DFMT_X8R8G8B8};
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
