// FakeDevice: the recording IDirect3DDevice8 of the tests (see fake_device.h).
#include "doubles/fake_device.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "doubles/fake_direct3d.h"

FakeDevice::FakeDevice(FakeDirect3D* direct3d, UINT adapter_, D3DDEVTYPE deviceType_,
                       HWND focusWindow_, DWORD behaviorFlags_,
                       const D3DPRESENT_PARAMETERS& params)
    : adapter(adapter_), deviceType(deviceType_), focusWindow(focusWindow_),
      behaviorFlags(behaviorFlags_), presentParams(params), direct3d_(direct3d) {
    direct3d_->AddRef();
    TakeBackBufferFromParams();
}

FakeDevice::~FakeDevice() { direct3d_->Release(); }

// The back buffer follows the presentation parameters: a windowed device with size 0
// takes the client size of its window, an unknown format the adapter's desktop format.
void FakeDevice::TakeBackBufferFromParams() {
    backBufferWidth = presentParams.BackBufferWidth;
    backBufferHeight = presentParams.BackBufferHeight;
    backBufferFormat = presentParams.BackBufferFormat;
    if (backBufferFormat == D3DFMT_UNKNOWN && adapter < direct3d_->adapters.size())
        backBufferFormat = direct3d_->adapters[adapter].desktopMode.Format;
    if (backBufferWidth && backBufferHeight) return;
    HWND window = presentParams.hDeviceWindow ? presentParams.hDeviceWindow : focusWindow;
    RECT client = {0, 0, 640, 480};
    if (!window || !::GetClientRect(window, &client) || client.right <= 0 || client.bottom <= 0)
        client = {0, 0, 640, 480};
    if (backBufferWidth == 0) backBufferWidth = UINT(client.right);
    if (backBufferHeight == 0) backBufferHeight = UINT(client.bottom);
}

// ---- Recording helpers ----------------------------------------------------------------
void AppendCall(std::vector<std::string>& calls, const char* format, va_list args) {
    char text[256];
    std::vsnprintf(text, sizeof(text), format, args);
    calls.push_back(text);
}

void FakeDevice::Record(const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppendCall(calls, format, args);
    va_end(args);
}

int CountCallsNamed(const std::vector<std::string>& calls, const char* name) {
    std::string prefix = std::string(name) + "(";
    return int(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call.compare(0, prefix.size(), prefix) == 0;
    }));
}

int FakeDevice::CountCalls(const char* name) const { return CountCallsNamed(calls, name); }

int FakeDevice::IndexOf(const std::string& call, int from) const {
    for (int i = std::max(from, 0); i < int(calls.size()); i++)
        if (calls[i] == call) return i;
    return -1;
}

std::string FakeDevice::Log() const {
    std::string text;
    for (const std::string& call : calls) text += call + "\n";
    return text;
}

std::string FakeDevice::NameOf(IUnknown* object) const {
    if (!object) return "null";
    if (auto* texture = dynamic_cast<FakeTexture*>(object)) return texture->label;
    if (auto* buffer = dynamic_cast<FakeVertexBuffer*>(object)) return buffer->label;
    if (auto* surface = dynamic_cast<FakeSurface*>(object)) return surface->label;
    return "foreign";
}

// ---- Lifetime -------------------------------------------------------------------------
HRESULT FakeDevice::TestCooperativeLevel() {
    Record("TestCooperativeLevel()");
    return NextResult(cooperativeLevelResults, cooperativeLevel);
}

HRESULT FakeDevice::GetDeviceCaps(D3DCAPS8* caps) {
    Record("GetDeviceCaps()");
    return direct3d_->GetDeviceCaps(adapter, deviceType, caps);
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* params) {
    if (!params) return Record("Reset(null)"), D3DERR_INVALIDCALL;
    Record("Reset(%ux%u,%d)", params->BackBufferWidth, params->BackBufferHeight,
           int(params->BackBufferFormat));
    HRESULT result = NextResult(resetResults, resetResult);
    if (SUCCEEDED(result)) {
        presentParams = *params;
        TakeBackBufferFromParams();
    }
    return result;
}

HRESULT FakeDevice::Present(const RECT* src, const RECT* dst, HWND window, const RGNDATA* dirty) {
    if (src || dst || window || dirty)
        Record("Present(%s,%s,%s,%s)", src ? "rect" : "null", dst ? "rect" : "null",
               window ? "window" : "null", dirty ? "region" : "null");
    else
        Record("Present()");
    return D3D_OK;
}

HRESULT FakeDevice::GetBackBuffer(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface8** surface) {
    Record("GetBackBuffer(%u,%d)", index, int(type));
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (index >= std::max<UINT>(presentParams.BackBufferCount, 1)) return D3DERR_INVALIDCALL;
    *surface = new FakeSurface(this, backBufferWidth, backBufferHeight, backBufferFormat,
                               D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET, "backbuffer");
    return D3D_OK;
}

// ---- Resource creation ----------------------------------------------------------------
HRESULT FakeDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                  D3DFORMAT format, D3DPOOL pool, IDirect3DTexture8** texture) {
    Record("CreateTexture(%u,%u,%u,%lu,%d,%d)", width, height, levels, usage, int(format),
           int(pool));
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    HRESULT result = NextResult(createTextureResults);
    if (FAILED(result)) return result;
    if (width == 0 || height == 0 || FakeBytesPerPixel(format) == 0) return D3DERR_INVALIDCALL;
    *texture = new FakeTexture(this, width, height, levels, usage, format, pool);
    return D3D_OK;
}

HRESULT FakeDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer8** buffer) {
    Record("CreateVertexBuffer(%u,%lu,%lu,%d)", length, usage, fvf, int(pool));
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    HRESULT result = NextResult(createVertexBufferResults);
    if (FAILED(result)) return result;
    if (length == 0) return D3DERR_INVALIDCALL;
    *buffer = new FakeVertexBuffer(this, length, usage, fvf, pool);
    return D3D_OK;
}

HRESULT FakeDevice::CreateImageSurface(UINT width, UINT height, D3DFORMAT format,
                                       IDirect3DSurface8** surface) {
    Record("CreateImageSurface(%u,%u,%d)", width, height, int(format));
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (width == 0 || height == 0 || FakeBytesPerPixel(format) == 0) return D3DERR_INVALIDCALL;
    std::string name = "surface#" + std::to_string(++surfacesCreated);
    *surface = new FakeSurface(this, width, height, format, D3DPOOL_SYSTEMMEM, 0, name.c_str());
    return D3D_OK;
}

HRESULT FakeDevice::CopyRects(IDirect3DSurface8*, const RECT*, UINT count, IDirect3DSurface8*,
                              const POINT*) {
    Record("CopyRects(%u)", count);
    return D3DERR_INVALIDCALL;
}

// ---- Drawing and state ----------------------------------------------------------------
HRESULT FakeDevice::BeginScene() {
    Record("BeginScene()");
    return NextResult(beginSceneResults, beginSceneResult);
}

HRESULT FakeDevice::Clear(DWORD count, const D3DRECT*, DWORD flags, D3DCOLOR color, float z,
                          DWORD stencil) {
    Record("Clear(%lu,%lu,0x%08lx,%g,%lu)", count, flags, DWORD(color), double(z), stencil);
    return D3D_OK;
}

HRESULT FakeDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT start, UINT count) {
    Record("DrawPrimitive(%d,%u,%u)", int(type), start, count);
    return D3D_OK;
}

HRESULT FakeDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    Record("SetTransform(%d)", int(state));
    if (!matrix) return D3DERR_INVALIDCALL;
    transforms[DWORD(state)] = *matrix;
    transformHistory.push_back({DWORD(state), *matrix});
    return D3D_OK;
}

HRESULT FakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    Record("SetRenderState(%d,%lu)", int(state), value);
    renderStates[DWORD(state)] = value;
    return D3D_OK;
}

HRESULT FakeDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    Record("SetTexture(%lu,%s)", stage, NameOf(texture).c_str());
    if (stage >= 8) return D3DERR_INVALIDCALL;
    boundTextures[stage] = texture;
    return D3D_OK;
}

HRESULT FakeDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    Record("SetTextureStageState(%lu,%d,%lu)", stage, int(type), value);
    textureStageStates[{stage, DWORD(type)}] = value;
    return D3D_OK;
}

HRESULT FakeDevice::SetVertexShader(DWORD handle) {
    Record("SetVertexShader(%lu)", handle);
    vertexShader = handle;
    return D3D_OK;
}

HRESULT FakeDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    Record("SetStreamSource(%u,%s,%u)", stream, NameOf(buffer).c_str(), stride);
    if (stream == 0) streamSource = buffer, streamStride = stride;
    return D3D_OK;
}
