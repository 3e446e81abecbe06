// Device selection against scripted adapters: adapter, mode, windowed unit, projection,
// description, release and re-creation (stored modes are the two-monitor runs').
#include <cmath>
#include <cstring>

#include "d3denv/adapter_enumeration.h"
#include "doubles/support.h"
#include "gfxutil/d3dx_math.h"
#include "saver_with_fakes.h"

namespace {

const char kSystem1[] = "Software\\Orvane\\Cirrane\\System 1";

class Selection : public SaverWithFakes {
protected:
    RenderUnit& NewUnit(UINT a) {
        RenderUnit& unit = saver.units[saver.unitCount++];
        unit = {};
        unit.adapterOrdinal = a;
        return unit;
    }
    std::string Attempts() {
        std::string text;
        for (const FakeCreateCall& c : d3d->createCalls)
            text += std::to_string(c.params.BackBufferWidth) + "x" + std::to_string(c.params.BackBufferHeight) +
                    "/" + std::to_string(int(c.params.BackBufferFormat)) +
                    (c.params.FullScreen_RefreshRateInHz ? "@" + std::to_string(c.params.FullScreen_RefreshRateInHz) : "") +
                    " ";
        return text;
    }
    void StoreMode(UINT width, UINT height, D3DFORMAT format) {
        Adapter(0).userWidth = width, Adapter(0).userHeight = height, Adapter(0).userFormat = format;
    }

    ScratchRegistry registry;
};

}  // namespace

TEST_F(Selection, HardwareTakesTheDesktopResolutionIn32BitsAndNothingIsWritten) {
    AddAdapterWithMonitor();
    AddAdapterWithMonitor();
    d3d->adapters[1].desktopMode = FakeMode(800, 600, D3DFMT_R5G6B5);
    Enumerate();
    Adapter(0).deviceWindow = reinterpret_cast<HWND>(0x1234);
    ASSERT_EQ(saver.CreateFullScreenUnit(NewUnit(0)), S_OK);
    ASSERT_EQ(saver.CreateFullScreenUnit(NewUnit(1)), S_OK);
    EXPECT_EQ(Attempts(), "1024x768/22@60 800x600/22 ");   // the desktop's rate in its own mode
    const D3DPRESENT_PARAMETERS& p = saver.units[0].presentParams;
    EXPECT_FALSE(p.Windowed);
    EXPECT_EQ(p.hDeviceWindow, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.FullScreen_PresentationInterval, UINT(D3DPRESENT_INTERVAL_ONE));
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(saver.units[1].monitorIndex, 1);
    EXPECT_EQ(Adapter(0).userWidth, 0u);
    HKEY key;
    EXPECT_NE(::RegOpenKeyExA(HKEY_CURRENT_USER, kSystem1, 0, KEY_READ, &key), ERROR_SUCCESS);

    ::lstrcpyA(saver.units[1].deviceStats, "SW (sw vp)");
    saver.SelectRenderUnit(1);
    EXPECT_EQ(saver.activeDevice, saver.units[1].device);
    EXPECT_EQ(saver.renderRect.left, 1024);
    EXPECT_EQ(saver.backBufferDesc.Width, 800u);
    EXPECT_EQ(saver.backBufferDesc.Format, D3DFMT_X8R8G8B8);
    EXPECT_STREQ(saver.deviceStats, "SW (sw vp)");
    EXPECT_EQ(static_cast<FakeDevice*>(saver.units[1].device)->RefCount(), 1u);   // back buffer let go
}

// Hardware lacking 32 bits at the desktop's size takes the first mode listed there; software
// the smallest height but 400, in 16 bits if it can; failing, 640 x 480 in 32, then 16 bits.
TEST_F(Selection, FullScreenModesTriedInOrder) {
    const D3DFORMAT k16 = D3DFMT_R5G6B5, k15 = D3DFMT_X1R5G5B5, k32 = D3DFMT_X8R8G8B8;
    const struct {
        std::vector<D3DDISPLAYMODE> modes;
        bool software, failing;              // a SW device only; every creation fails
        D3DDISPLAYMODE stored;
        const char* attempts;
    } cases[] = {
        {{FakeMode(1024, 768, k15), FakeMode(1024, 768, k16), FakeMode(640, 480, k32)}, false, false, {},
         "1024x768/24 "},
        {{FakeMode(640, 400, k16), FakeMode(640, 480, k32), FakeMode(640, 480, k16), FakeMode(800, 600, k16)},
         true, false, {}, "640x480/23 "},
        {{FakeMode(640, 400, k16), FakeMode(640, 400, k32)}, true, false, {}, "640x400/23 "},
        {{FakeMode(640, 480, k16), FakeMode(640, 480, k32), FakeMode(800, 600, k16), FakeMode(800, 600, k32)},
         false, true, FakeMode(800, 600, k16), "800x600/23 640x480/22 640x480/23 "},
        {{FakeMode(640, 480, k15), FakeMode(640, 480, k16), FakeMode(800, 600, k16)}, false, true,
         FakeMode(800, 600, k16), "800x600/23 640x480/24 "},
    };
    FakeAdapter& a = AddAdapterWithMonitor();
    a.sw = a.hal;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attempts);
        a.modes = c.modes;
        a.hal.available = !c.software;
        d3d->createDeviceResults.assign(c.failing ? 9 : 0, D3DERR_NOTAVAILABLE);
        d3d->createCalls.clear();
        saver.FreeAdapters();
        Enumerate();
        StoreMode(c.stored.Width, c.stored.Height, c.stored.Format);
        RenderUnit& unit = NewUnit(0);
        EXPECT_EQ(saver.CreateFullScreenUnit(unit), c.failing ? D3DERR_NOTAVAILABLE : S_OK);
        EXPECT_EQ(Attempts(), c.attempts);
        EXPECT_EQ(unit.device == nullptr, c.failing);
        if (!c.failing) EXPECT_EQ(unit.deviceType, c.software ? D3DDEVTYPE_SW : D3DDEVTYPE_HAL);
        EXPECT_EQ(Adapter(0).userWidth, c.stored.Width);
        EXPECT_EQ(Adapter(0).userFormat, c.stored.Format);
    }
}

// (The desktop's own mode asking for its rate, and another format asking 0: the first test.)
// Another size, and a desktop on the hardware's default (1), ask 0; a failure at the desktop's
// rate tries the default before a lower mode, and that retry is no fallback to remember.
TEST_F(Selection, OnlyTheDesktopsOwnModeAsksForItsRefreshRate) {
    const struct {
        UINT rate, storedWidth;
        size_t failures;
        const char* attempts;
    } cases[] = {
        {144, 800, 0, "800x600/22 "},
        {1, 0, 0, "1024x768/22 "},
        {144, 0, 1, "1024x768/22@144 1024x768/22 "},
        {144, 0, 2, "1024x768/22@144 1024x768/22 1024x768/23 "},
    };
    FakeAdapter& a = AddAdapterWithMonitor();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attempts);
        a.desktopMode.RefreshRate = c.rate;
        d3d->createDeviceResults.assign(c.failures, D3DERR_NOTAVAILABLE);
        d3d->createCalls.clear();
        saver.FreeAdapters();
        Enumerate();
        StoreMode(c.storedWidth, c.storedWidth * 3 / 4, D3DFMT_X8R8G8B8);
        ASSERT_EQ(saver.CreateFullScreenUnit(NewUnit(0)), S_OK);
        EXPECT_EQ(Attempts(), c.attempts);
        EXPECT_EQ(Adapter(0).userWidth, c.failures > 1 ? 1024u : c.storedWidth);
    }
}

TEST_F(Selection, DisabledHardwareUsesSoftwareAndWithoutItNoDevice) {
    FakeAdapter& a = AddAdapterWithMonitor();
    a.sw = a.hal;
    Enumerate();
    Adapter(0).disableHardware = 1;
    ASSERT_EQ(saver.CreateFullScreenUnit(NewUnit(0)), S_OK);
    EXPECT_EQ(saver.units[0].deviceType, D3DDEVTYPE_SW);
    Adapter(0).deviceCount = 1;   // HAL only
    EXPECT_EQ(saver.CreateFullScreenUnit(NewUnit(0)), SAVER_E_NO_HARDWARE_DEVICE);
    Adapter(0).deviceCount = 0;
    EXPECT_EQ(saver.CreateFullScreenUnit(NewUnit(0)), E_FAIL);
    EXPECT_EQ(saver.CreateFullScreenUnit(NewUnit(5)), E_FAIL);
}

TEST_F(Selection, WindowedUnitPassesOverDevicesThatCannotRenderInAWindow) {
    FakeAdapter& a = AddAdapterWithMonitor();
    a.sw = a.hal;
    a.sw.caps = FakeCaps(0, true);
    a.hal.caps.Caps2 = 0;
    Enumerate();
    Adapter(0).deviceWindow = reinterpret_cast<HWND>(0x4321);
    RenderUnit& unit = NewUnit(0);
    ASSERT_EQ(saver.CreateWindowedUnit(unit), S_OK);
    EXPECT_EQ(unit.deviceType, D3DDEVTYPE_SW);
    EXPECT_EQ(Adapter(0).currentDevice, 1u);
    EXPECT_EQ(unit.behaviorFlags, DWORD(D3DCREATE_SOFTWARE_VERTEXPROCESSING));
    const D3DPRESENT_PARAMETERS& p = unit.presentParams;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.BackBufferWidth, 0u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.hDeviceWindow, reinterpret_cast<HWND>(0x4321));

    Adapter(0).devices[1].canRenderWindowed = 0;
    EXPECT_EQ(saver.CreateWindowedUnit(NewUnit(0)), SAVER_E_NO_HARDWARE_DEVICE);
    EXPECT_EQ(Adapter(0).currentDevice, kNoIndex);
}

// Frustum edges in pixels of the reference rectangle's shorter side (y up, screen rows down).
TEST_F(Selection, EachMonitorShowsItsPartOfTheViewOrTheWholeView) {
    const struct {
        RECT view, monitor;
        DWORD same;
        float left, right, bottom, top, side;
    } cases[] = {
        {{0, 0, 3072, 768}, {0, 0, 1024, 768}, 0, -1536, -512, -384, 384, 768},   // three in a row
        {{0, 0, 1824, 768}, {0, 0, 1024, 768}, 0, -912, 112, -384, 384, 768},
        {{0, 0, 1824, 768}, {1024, 0, 1824, 600}, 0, 112, 912, -216, 384, 768},   // top-aligned
        {{0, 0, 1824, 768}, {1024, 100, 1824, 700}, 0, 112, 912, -316, 284, 768},
        {{0, 0, 1824, 768}, {1024, 0, 1824, 600}, 1, -400, 400, -300, 300, 600},
    };
    for (const auto& c : cases) {
        saver.windowRect = c.view;
        saver.renderRect = c.monitor;
        saver.screensSame = c.same;
        D3DMATRIX m;
        D3DXMATRIX expected;
        saver.ComputeProjection(0.05f, 120.0f, &m);
        const float n = 0.05f / c.side;
        D3DXMatrixPerspectiveOffCenterLH(&expected, n * c.left, n * c.right, n * c.bottom, n * c.top, 0.05f, 120.0f);
        for (int k = 0; k < 16; k++)
            EXPECT_NEAR((&m._11)[k], (&expected._11)[k], 1e-5f) << c.monitor.left << "," << c.monitor.top << " " << k;
    }
}

TEST_F(Selection, EmptyWindowGivesAFiniteProjection) {
    saver.windowed = 1;
    for (int same = 0; same < 2; same++) {
        for (LONG width : {0, 600}) {
            saver.screensSame = DWORD(same);
            saver.windowRect = saver.renderRect = {0, 0, width, 0};
            D3DMATRIX m;
            saver.ComputeProjection(0.05f, 120.0f, &m);
            for (int i = 0; i < 16; i++) EXPECT_TRUE(std::isfinite((&m._11)[i])) << same << width << i;
        }
    }
    EXPECT_EQ(saver.SetProjection(0.05f, 120.0f), E_FAIL);   // no device: nothing to set
}

TEST_F(Selection, DescriptionNamesTypeVertexProcessingAndHardwareAndAlwaysFits) {
    FakeAdapter& a = AddAdapterWithMonitor();
    std::memset(a.identifier.Description, 'x', sizeof(a.identifier.Description));   // unterminated
    Enumerate();
    RenderUnit &hal = NewUnit(0), &sw = NewUnit(0), &simulated = NewUnit(0);
    hal.deviceType = D3DDEVTYPE_HAL, hal.behaviorFlags = 0x50;
    sw.deviceType = D3DDEVTYPE_SW, sw.behaviorFlags = 0x20;
    simulated.deviceType = D3DDEVTYPE_REF, simulated.behaviorFlags = 0x80;
    saver.DescribeDevices();
    EXPECT_EQ(std::string(hal.deviceStats), "HAL (pure hw vp): " + std::string(71, 'x'));
    EXPECT_STREQ(sw.deviceStats, "SW (sw vp)");
    EXPECT_STREQ(simulated.deviceStats, "REF (simulated mixed vp)");

    Adapter(0).identifier.Description[5] = '\0';
    hal.behaviorFlags = 0x40;
    saver.DescribeDevices();
    EXPECT_STREQ(hal.deviceStats, "HAL (hw vp): xxxxx");
}

TEST_F(Selection, ReleasedDevicesComeBackWithTheirSceneObjects) {
    AddAdapterWithMonitor();
    AddAdapterWithMonitor();
    Enumerate();
    for (UINT a = 0; a < 2; a++) {
        RenderUnit& unit = NewUnit(a);
        ASSERT_EQ(saver.CreateFullScreenUnit(unit), S_OK);
        unit.objectsInitialized = unit.objectsRestored = 1;
    }
    saver.ReleaseDevices();
    EXPECT_EQ(LiveFakes().devices, 0);
    EXPECT_EQ(saver.releases, 2);
    EXPECT_EQ(saver.destroys, 2);
    EXPECT_EQ(saver.activeDevice, nullptr);
    EXPECT_EQ(d3d->RefCount(), 2u);   // the test's and the Saver's

    d3d->createDeviceResults = {D3DERR_OUTOFVIDEOMEMORY};
    saver.RecreateDevices();
    EXPECT_EQ(saver.units[0].device, nullptr);
    ASSERT_NE(saver.units[1].device, nullptr);
    EXPECT_EQ(saver.units[1].objectsRestored, 1u);
    EXPECT_EQ(saver.errorCode, SAVER_E_CREATE_DEVICE_FAILED);
    EXPECT_EQ(d3d->createCalls.back().params.BackBufferWidth, 1024u);

    saver.restoreResult = E_FAIL;
    saver.RecreateDevices();   // unit 1 keeps its device; unit 0 is made again
    ASSERT_NE(saver.units[0].device, nullptr);
    EXPECT_EQ(saver.units[0].objectsInitialized, 1u);
    EXPECT_EQ(saver.units[0].objectsRestored, 0u);
    EXPECT_EQ(saver.errorCode, SAVER_E_SCENE_OBJECTS_FAILED);
    EXPECT_EQ(LiveFakes().devices, 2);
}
