// FakeDirect3D: the scripted IDirect3D8 of the tests (see fake_direct3d.h).
#include "doubles/fake_direct3d.h"

#include <algorithm>
#include <cstdio>

#include "host/direct3d_loader.h"

namespace {
FakeDirect3D* installed = nullptr;

IDirect3D8* CreateInstalled() {
    if (installed) installed->AddRef();
    return installed;
}

bool Contains(const std::vector<D3DFORMAT>& list, D3DFORMAT format) {
    return std::find(list.begin(), list.end(), format) != list.end();
}
}  // namespace

void InstallFakeDirect3D(FakeDirect3D* direct3d) {
    installed = direct3d;
    SetDirect3DFactory(direct3d ? CreateInstalled : nullptr);
}

D3DDISPLAYMODE FakeMode(UINT width, UINT height, D3DFORMAT format, UINT refreshRate) {
    return {width, height, refreshRate, format};
}

D3DCAPS8 FakeCaps(DWORD devCaps, bool canRenderWindowed) {
    D3DCAPS8 caps = {};
    caps.DevCaps = devCaps;
    caps.Caps2 = canRenderWindowed ? D3DCAPS2_CANRENDERWINDOWED : 0;
    return caps;
}

FakeAdapter& FakeDirect3D::AddAdapter() {
    FakeAdapter adapter;
    UINT n = UINT(adapters.size()) + 1;
    std::snprintf(adapter.identifier.Description, sizeof(adapter.identifier.Description),
                  "Fake Display Adapter %u", n);
    adapter.identifier.DeviceIdentifier.Data1 = n;
    adapter.desktopMode = FakeMode(1024, 768, D3DFMT_X8R8G8B8);
    for (UINT size : {640u, 800u, 1024u}) {
        adapter.modes.push_back(FakeMode(size, size * 3 / 4, D3DFMT_R5G6B5));
        adapter.modes.push_back(FakeMode(size, size * 3 / 4, D3DFMT_X8R8G8B8));
    }
    adapter.hal.available = true;
    adapter.hal.caps = FakeCaps(D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, true);
    adapter.hal.depthFormats = {D3DFMT_D16, D3DFMT_D24X8};
    adapters.push_back(adapter);
    return adapters.back();
}

const FakeDeviceType& FakeDirect3D::Type(UINT adapter, D3DDEVTYPE type) const {
    const FakeAdapter& a = adapters.at(adapter);
    return type == D3DDEVTYPE_HAL ? a.hal : type == D3DDEVTYPE_SW ? a.sw : a.ref;
}

HRESULT FakeDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT display,
                                      D3DFORMAT back, WINBOOL windowed) {
    const FakeDeviceType& t = Type(adapter, type);
    if (!t.available) return D3DERR_NOTAVAILABLE;
    if (!windowed) return back == display ? D3D_OK : D3DERR_NOTAVAILABLE;
    return display == adapters[adapter].desktopMode.Format ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT FakeDirect3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT, D3DFORMAT,
                                             D3DFORMAT depthStencil) {
    const FakeDeviceType& t = Type(adapter, type);
    return t.available && Contains(t.depthFormats, depthStencil) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT FakeDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) {
    const FakeDeviceType& t = Type(adapter, type);
    *caps = t.caps;
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    return t.available ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT FakeDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                   DWORD behaviorFlags, D3DPRESENT_PARAMETERS* params,
                                   IDirect3DDevice8** device) {
    *device = nullptr;
    FakeCreateCall call = {adapter, type, focusWindow, behaviorFlags, *params, D3D_OK};
    if (!Type(adapter, type).available)
        call.result = D3DERR_INVALIDCALL;
    else if (!createDeviceResults.empty())
        call.result = NextResult(createDeviceResults);
    else if (createDeviceRule)
        call.result = createDeviceRule(call);
    createCalls.push_back(call);
    if (FAILED(call.result)) return call.result;

    *device = new FakeDevice(this, focusWindow, *params);
    return D3D_OK;
}
