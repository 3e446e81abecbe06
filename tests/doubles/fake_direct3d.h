// FakeDirect3D: an IDirect3D8 whose adapters, checks and device creation a test scripts.
//
//     FakeRef<FakeDirect3D> d3d(new FakeDirect3D);       // the test's own reference
//     FakeAdapter& a = d3d->AddAdapter();                 // defaults below
//     a.monitor = saver.monitors[0].monitorHandle;        // or FakeMonitorHandle(1)
//     a.modes = {FakeMode(800, 600, D3DFMT_R5G6B5)};
//     d3d->createDeviceResults = {D3DERR_OUTOFVIDEOMEMORY};   // first CreateDevice fails
//     saver.direct3d = d3d.get(); d3d->AddRef();          // the Saver's reference
//     ... code under test ...
//     EXPECT_EQ(d3d->RefCount(), 1u);                     // every other reference released
//
// Or hand it to Saver::Create through the Direct3D factory: InstallFakeDirect3D(d3d.get())
// (each creation returns it with one more reference); UninstallFakeDirect3D() afterwards.
//
// AddAdapter's defaults: description "Fake Display Adapter N" and DeviceIdentifier.Data1 N
// (N = ordinal + 1), no monitor, desktop 1024 x 768 X8R8G8B8, modes 640 x 480, 800 x 600
// and 1024 x 768 in R5G6B5 and X8R8G8B8; a HAL device with hardware T&L and pure-device caps
// that can render windowed and has the depth formats D16 and D24X8; no SW and no REF device.
//
// Answers:
//   CheckDeviceType(a, t, display, back, windowed): D3D_OK when the type is available, the
//     display format is not in the type's rejectedFormats and, full screen, back ==
//     display; windowed, display must be the adapter's desktop format and back must not be
//     rejected (nor outside windowedFormats when that list is not empty).
//   CheckDeviceFormat with D3DUSAGE_DEPTHSTENCIL, CheckDepthStencilMatch: D3D_OK when the
//     depth format is in the type's depthFormats. CheckDeviceFormat otherwise: D3D_OK when
//     the type is available.
//   CreateDevice: D3DERR_INVALIDCALL for an unavailable type; else the
//     front of createDeviceResults, else createDeviceRule(call), else D3D_OK. Every call is
//     recorded in createCalls (with its result).
#pragma once

#include <functional>

#include "doubles/fake_device.h"

D3DDISPLAYMODE FakeMode(UINT width, UINT height, D3DFORMAT format, UINT refreshRate = 60);
// Caps with the given DevCaps; Caps2 has D3DCAPS2_CANRENDERWINDOWED when asked.
D3DCAPS8 FakeCaps(DWORD devCaps, bool canRenderWindowed);
// A monitor handle that is not a real one (for tests that do not use Win32 monitors).
inline HMONITOR FakeMonitorHandle(int n) { return reinterpret_cast<HMONITOR>(INT_PTR(0x7000 + n)); }

struct FakeDeviceType {
    bool available = false;
    D3DCAPS8 caps = {};
    std::vector<D3DFORMAT> rejectedFormats;   // fail CheckDeviceType as display or back buffer
    std::vector<D3DFORMAT> windowedFormats;   // when not empty: the only windowed back buffers
    std::vector<D3DFORMAT> depthFormats;      // pass the depth-stencil checks
};

struct FakeAdapter {
    D3DADAPTER_IDENTIFIER8 identifier = {};
    HMONITOR monitor = nullptr;
    D3DDISPLAYMODE desktopMode = {};
    std::vector<D3DDISPLAYMODE> modes;
    FakeDeviceType hal, ref, sw;
};

struct FakeCreateCall {
    UINT adapter;
    D3DDEVTYPE deviceType;
    HWND focusWindow;
    DWORD behaviorFlags;
    D3DPRESENT_PARAMETERS params;
    HRESULT result;
};

class FakeDirect3D : public FakeUnknown<StubIDirect3D8, &FakeLiveCounts::direct3d> {
public:
    std::vector<FakeAdapter> adapters;   // an ordinal out of range throws (a test failure)
    FakeAdapter& AddAdapter();

    std::deque<HRESULT> createDeviceResults;
    std::function<HRESULT(const FakeCreateCall&)> createDeviceRule;
    std::vector<FakeCreateCall> createCalls;

    STDMETHOD_(UINT, GetAdapterCount)() override { return UINT(adapters.size()); }
    STDMETHOD(GetAdapterIdentifier)(UINT adapter, DWORD, D3DADAPTER_IDENTIFIER8* id) override {
        return *id = adapters.at(adapter).identifier, D3D_OK;
    }
    STDMETHOD_(UINT, GetAdapterModeCount)(UINT adapter) override { return UINT(adapters.at(adapter).modes.size()); }
    STDMETHOD(EnumAdapterModes)(UINT adapter, UINT mode, D3DDISPLAYMODE* out) override {
        return *out = adapters.at(adapter).modes.at(mode), D3D_OK;
    }
    STDMETHOD(GetAdapterDisplayMode)(UINT adapter, D3DDISPLAYMODE* mode) override {
        return *mode = adapters.at(adapter).desktopMode, D3D_OK;
    }
    STDMETHOD_(HMONITOR, GetAdapterMonitor)(UINT adapter) override { return adapters.at(adapter).monitor; }
    STDMETHOD(CheckDeviceType)(UINT adapter, D3DDEVTYPE type, D3DFORMAT display, D3DFORMAT back,
                               WINBOOL windowed) override;
    STDMETHOD(CheckDeviceFormat)(UINT adapter, D3DDEVTYPE type, D3DFORMAT, DWORD usage,
                                 D3DRESOURCETYPE, D3DFORMAT format) override {
        if (usage & D3DUSAGE_DEPTHSTENCIL) return CheckDepthStencilMatch(adapter, type, {}, {}, format);
        return Type(adapter, type).available ? D3D_OK : D3DERR_NOTAVAILABLE;
    }
    STDMETHOD(CheckDepthStencilMatch)(UINT adapter, D3DDEVTYPE type, D3DFORMAT, D3DFORMAT,
                                      D3DFORMAT depthStencil) override;
    STDMETHOD(GetDeviceCaps)(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) override;
    STDMETHOD(CreateDevice)(UINT adapter, D3DDEVTYPE type, HWND focusWindow, DWORD behaviorFlags,
                            D3DPRESENT_PARAMETERS* params, IDirect3DDevice8** device) override;

private:
    const FakeDeviceType& Type(UINT adapter, D3DDEVTYPE type) const;
};

// Routes the Saver's Direct3D creation to `direct3d` (null: back to the real d3d8.dll).
void InstallFakeDirect3D(FakeDirect3D* direct3d);
inline void UninstallFakeDirect3D() { InstallFakeDirect3D(nullptr); }
