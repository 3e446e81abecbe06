// FakeDirect3D: the scripted IDirect3D8 of the tests (see fake_direct3d.h), and the live
// counters of all fake COM objects (fake_com.h).
#include "doubles/fake_direct3d.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/direct3d_loader.h"

// ---- Live counters ------------------------------------------------------------------
namespace {
int liveCounts[int(FakeKind::Count)] = {};
FakeDirect3D* installed = nullptr;

IDirect3D8* CreateInstalled() {
    if (installed) installed->AddRef();
    return installed;
}

bool Contains(const std::vector<D3DFORMAT>& list, D3DFORMAT format) {
    return std::find(list.begin(), list.end(), format) != list.end();
}
}  // namespace

void CountFake(FakeKind kind, int delta) { liveCounts[int(kind)] += delta; }

FakeLiveCounts LiveFakes() {
    const int* n = liveCounts;
    return {n[0], n[1], n[2], n[3], n[4]};   // in FakeKind order
}

void InstallFakeDirect3D(FakeDirect3D* direct3d) {
    installed = direct3d;
    SetDirect3DFactory(direct3d ? CreateInstalled : nullptr);
}

// ---- Building scripts ---------------------------------------------------------------
D3DDISPLAYMODE FakeMode(UINT width, UINT height, D3DFORMAT format, UINT refreshRate) {
    return {width, height, refreshRate, format};
}

D3DCAPS8 FakeCaps(DWORD devCaps, bool canRenderWindowed) {
    D3DCAPS8 caps = {};
    caps.DevCaps = devCaps;
    caps.Caps2 = canRenderWindowed ? D3DCAPS2_CANRENDERWINDOWED : 0;
    caps.MaxTextureWidth = caps.MaxTextureHeight = 2048;
    caps.MaxSimultaneousTextures = caps.MaxTextureBlendStages = 2;
    return caps;
}

FakeDeviceType* FakeAdapter::Type(D3DDEVTYPE type) {
    return type == D3DDEVTYPE_HAL ? &hal : type == D3DDEVTYPE_REF ? &ref : type == D3DDEVTYPE_SW ? &sw : nullptr;
}

void FakeAdapter::SetDescription(const char* text) {
    ::lstrcpynA(identifier.Description, text, sizeof(identifier.Description));
}

FakeAdapter& FakeDirect3D::AddAdapter() {
    FakeAdapter adapter;
    UINT n = UINT(adapters.size()) + 1;
    char text[64];
    std::snprintf(text, sizeof(text), "Fake Display Adapter %u", n);
    adapter.SetDescription(text);
    ::lstrcpynA(adapter.identifier.Driver, "fake.dll", sizeof(adapter.identifier.Driver));
    adapter.identifier.DeviceIdentifier.Data1 = n;
    adapter.identifier.DeviceIdentifier.Data2 = WORD(n);
    adapter.identifier.DeviceIdentifier.Data3 = WORD(n);
    std::memset(adapter.identifier.DeviceIdentifier.Data4, int(n), 8);
    adapter.desktopMode = FakeMode(1024, 768, D3DFMT_X8R8G8B8);
    for (UINT size : {640u, 800u, 1024u}) {
        UINT height = size * 3 / 4;
        adapter.modes.push_back(FakeMode(size, height, D3DFMT_R5G6B5));
        adapter.modes.push_back(FakeMode(size, height, D3DFMT_X8R8G8B8));
    }
    adapter.hal.available = true;
    adapter.hal.caps = FakeCaps(D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE, true);
    adapter.hal.depthFormats = {D3DFMT_D16, D3DFMT_D24X8};
    adapters.push_back(adapter);
    return adapters.back();
}

// ---- Recording ----------------------------------------------------------------------
void FakeDirect3D::Record(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendCall(calls, format, args);
    va_end(args);
}

const FakeDeviceType* FakeDirect3D::TypeOf(UINT adapter, D3DDEVTYPE type) {
    if (adapter >= adapters.size()) return nullptr;
    return adapters[adapter].Type(type);
}

// ---- IDirect3D8 ---------------------------------------------------------------------
HRESULT FakeDirect3D::GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER8* id) {
    Record("GetAdapterIdentifier(%u,%lu)", adapter, flags);
    if (adapter >= adapters.size() || !id) return D3DERR_INVALIDCALL;
    *id = adapters[adapter].identifier;
    return D3D_OK;
}

UINT FakeDirect3D::GetAdapterModeCount(UINT adapter) {
    Record("GetAdapterModeCount(%u)", adapter);
    return adapter < adapters.size() ? UINT(adapters[adapter].modes.size()) : 0;
}

HRESULT FakeDirect3D::EnumAdapterModes(UINT adapter, UINT mode, D3DDISPLAYMODE* out) {
    Record("EnumAdapterModes(%u,%u)", adapter, mode);
    if (adapter >= adapters.size() || mode >= adapters[adapter].modes.size() || !out)
        return D3DERR_INVALIDCALL;
    *out = adapters[adapter].modes[mode];
    return D3D_OK;
}

HRESULT FakeDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    Record("GetAdapterDisplayMode(%u)", adapter);
    if (adapter >= adapters.size() || !mode) return D3DERR_INVALIDCALL;
    *mode = adapters[adapter].desktopMode;
    return D3D_OK;
}

HRESULT FakeDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT display,
                                      D3DFORMAT back, WINBOOL windowed) {
    Record("CheckDeviceType(%u,%d,%d,%d,%d)", adapter, int(type), int(display), int(back),
           int(windowed));
    const FakeDeviceType* t = TypeOf(adapter, type);
    if (!t) return D3DERR_INVALIDCALL;
    if (!t->available || Contains(t->rejectedFormats, display)) return D3DERR_NOTAVAILABLE;
    if (!windowed) return back == display ? D3D_OK : D3DERR_NOTAVAILABLE;
    if (display != adapters[adapter].desktopMode.Format || Contains(t->rejectedFormats, back))
        return D3DERR_NOTAVAILABLE;
    if (!t->windowedFormats.empty() && !Contains(t->windowedFormats, back))
        return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT FakeDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                        DWORD usage, D3DRESOURCETYPE resourceType,
                                        D3DFORMAT checkFormat) {
    Record("CheckDeviceFormat(%u,%d,%d,%lu,%d,%d)", adapter, int(type), int(adapterFormat),
           usage, int(resourceType), int(checkFormat));
    const FakeDeviceType* t = TypeOf(adapter, type);
    if (!t) return D3DERR_INVALIDCALL;
    if (!t->available) return D3DERR_NOTAVAILABLE;
    if (usage & D3DUSAGE_DEPTHSTENCIL)
        return Contains(t->depthFormats, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

HRESULT FakeDirect3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapterFormat,
                                             D3DFORMAT renderTarget, D3DFORMAT depthStencil) {
    Record("CheckDepthStencilMatch(%u,%d,%d,%d,%d)", adapter, int(type), int(adapterFormat),
           int(renderTarget), int(depthStencil));
    const FakeDeviceType* t = TypeOf(adapter, type);
    if (!t) return D3DERR_INVALIDCALL;
    if (!t->available) return D3DERR_NOTAVAILABLE;
    return Contains(t->depthFormats, depthStencil) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT FakeDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS8* caps) {
    Record("GetDeviceCaps(%u,%d)", adapter, int(type));
    const FakeDeviceType* t = TypeOf(adapter, type);
    if (!t || !caps) return D3DERR_INVALIDCALL;
    *caps = t->caps;
    caps->DeviceType = type;
    caps->AdapterOrdinal = adapter;
    return t->available ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HMONITOR FakeDirect3D::GetAdapterMonitor(UINT adapter) {
    Record("GetAdapterMonitor(%u)", adapter);
    return adapter < adapters.size() ? adapters[adapter].monitor : nullptr;
}

HRESULT FakeDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focusWindow,
                                   DWORD behaviorFlags, D3DPRESENT_PARAMETERS* params,
                                   IDirect3DDevice8** device) {
    Record("CreateDevice(%u,%d,%lu)", adapter, int(type), behaviorFlags);
    if (device) *device = nullptr;
    FakeCreateCall call = {adapter, type, focusWindow, behaviorFlags, {}, D3D_OK};
    if (params) call.params = *params;
    const FakeDeviceType* t = TypeOf(adapter, type);
    if (!device || !params || !t || !t->available)
        call.result = D3DERR_INVALIDCALL;
    else if (!createDeviceResults.empty())
        call.result = NextResult(createDeviceResults);
    else if (createDeviceRule)
        call.result = createDeviceRule(call);
    createCalls.push_back(call);
    if (FAILED(call.result)) return call.result;

    auto* created = new FakeDevice(this, adapter, type, focusWindow, behaviorFlags, *params);
    if (onDeviceCreated) onDeviceCreated(*created);
    *device = created;
    return D3D_OK;
}
