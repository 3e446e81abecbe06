// FakeDirect3D: an IDirect3D8 whose adapters, checks and device creation a test scripts
// (AddAdapter's defaults are in fake_direct3d.cpp); CreateDevice records every call.
#pragma once

#include <functional>

#include "doubles/fake_device.h"

D3DDISPLAYMODE FakeMode(UINT width, UINT height, D3DFORMAT format, UINT refreshRate = 60);
D3DCAPS8 FakeCaps(DWORD devCaps, bool canRenderWindowed);
inline HMONITOR FakeMonitorHandle(int n) { return reinterpret_cast<HMONITOR>(INT_PTR(0x7000 + n)); }

struct FakeDeviceType {
    bool available = false;
    D3DCAPS8 caps = {};
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
