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
    if (backBufferWidth == 0 || backBufferHeight == 0) {
        HWND window = presentParams.hDeviceWindow ? presentParams.hDeviceWindow : focusWindow;
        RECT client = {0, 0, 640, 480};
        if (!window || !::GetClientRect(window, &client) || client.right <= 0 ||
            client.bottom <= 0)
            client = {0, 0, 640, 480};
        if (backBufferWidth == 0) backBufferWidth = UINT(client.right);
        if (backBufferHeight == 0) backBufferHeight = UINT(client.bottom);
    }
}

// ---- Recording helpers ----------------------------------------------------------------
void FakeDevice::Record(const char* format, ...) {
    char text[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    calls.push_back(text);
}

int FakeDevice::CountCalls(const char* name) const {
    std::string prefix = std::string(name) + "(";
    return int(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
        return call.compare(0, prefix.size(), prefix) == 0;
    }));
}

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

// ---- State and lifetime ---------------------------------------------------------------
HRESULT FakeDevice::TestCooperativeLevel() {
    Record("TestCooperativeLevel()");
    return NextResult(cooperativeLevelResults, cooperativeLevel);
}

UINT FakeDevice::GetAvailableTextureMem() { Record("GetAvailableTextureMem()"); return 64u << 20; }

HRESULT FakeDevice::ResourceManagerDiscardBytes(DWORD bytes) {
    Record("ResourceManagerDiscardBytes(%lu)", bytes);
    return D3D_OK;
}

HRESULT FakeDevice::GetDirect3D(IDirect3D8** direct3d) {
    Record("GetDirect3D()");
    if (!direct3d) return D3DERR_INVALIDCALL;
    direct3d_->AddRef();
    *direct3d = direct3d_;
    return D3D_OK;
}

HRESULT FakeDevice::GetDeviceCaps(D3DCAPS8* caps) {
    Record("GetDeviceCaps()");
    return direct3d_->GetDeviceCaps(adapter, deviceType, caps);
}

HRESULT FakeDevice::GetDisplayMode(D3DDISPLAYMODE* mode) {
    Record("GetDisplayMode()");
    if (!mode) return D3DERR_INVALIDCALL;
    *mode = FakeMode(backBufferWidth, backBufferHeight, backBufferFormat);
    if (presentParams.Windowed && adapter < direct3d_->adapters.size())
        *mode = direct3d_->adapters[adapter].desktopMode;
    return D3D_OK;
}

HRESULT FakeDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    Record("GetCreationParameters()");
    if (!parameters) return D3DERR_INVALIDCALL;
    parameters->AdapterOrdinal = adapter;
    parameters->DeviceType = deviceType;
    parameters->hFocusWindow = focusWindow;
    parameters->BehaviorFlags = behaviorFlags;
    return D3D_OK;
}

HRESULT FakeDevice::SetCursorProperties(UINT x, UINT y, IDirect3DSurface8*) {
    Record("SetCursorProperties(%u,%u)", x, y);
    return D3D_OK;
}
void FakeDevice::SetCursorPosition(UINT x, UINT y, DWORD flags) {
    Record("SetCursorPosition(%u,%u,%lu)", x, y, flags);
}
WINBOOL FakeDevice::ShowCursor(WINBOOL show) {
    Record("ShowCursor(%d)", int(show));
    return FALSE;
}
HRESULT FakeDevice::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*, IDirect3DSwapChain8** chain) {
    Record("CreateAdditionalSwapChain()");
    if (chain) *chain = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* params) {
    if (!params) {
        Record("Reset(null)");
        return D3DERR_INVALIDCALL;
    }
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

HRESULT FakeDevice::GetRasterStatus(D3DRASTER_STATUS* status) {
    Record("GetRasterStatus()");
    if (!status) return D3DERR_INVALIDCALL;
    *status = {};
    return D3D_OK;
}
void FakeDevice::SetGammaRamp(DWORD flags, const D3DGAMMARAMP*) { Record("SetGammaRamp(%lu)", flags); }
void FakeDevice::GetGammaRamp(D3DGAMMARAMP* ramp) {
    Record("GetGammaRamp()");
    if (ramp) *ramp = {};
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

HRESULT FakeDevice::CreateVolumeTexture(UINT, UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                        IDirect3DVolumeTexture8** texture) {
    Record("CreateVolumeTexture()");
    if (texture) *texture = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                      IDirect3DCubeTexture8** texture) {
    Record("CreateCubeTexture()");
    if (texture) *texture = nullptr;
    return D3DERR_INVALIDCALL;
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

HRESULT FakeDevice::CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer8** buffer) {
    Record("CreateIndexBuffer()");
    if (buffer) *buffer = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateRenderTarget(UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, WINBOOL,
                                       IDirect3DSurface8** surface) {
    Record("CreateRenderTarget()");
    if (surface) *surface = nullptr;
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateDepthStencilSurface(UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE,
                                              IDirect3DSurface8** surface) {
    Record("CreateDepthStencilSurface()");
    if (surface) *surface = nullptr;
    return D3DERR_INVALIDCALL;
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
HRESULT FakeDevice::UpdateTexture(IDirect3DBaseTexture8*, IDirect3DBaseTexture8*) {
    Record("UpdateTexture()");
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetFrontBuffer(IDirect3DSurface8*) {
    Record("GetFrontBuffer()");
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetRenderTarget(IDirect3DSurface8*, IDirect3DSurface8*) {
    Record("SetRenderTarget()");
    return D3D_OK;
}
HRESULT FakeDevice::GetRenderTarget(IDirect3DSurface8** surface) {
    Record("GetRenderTarget()");
    return GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, surface);
}
HRESULT FakeDevice::GetDepthStencilSurface(IDirect3DSurface8** surface) {
    Record("GetDepthStencilSurface()");
    if (surface) *surface = nullptr;
    return D3DERR_NOTFOUND;
}

// ---- Drawing --------------------------------------------------------------------------
HRESULT FakeDevice::BeginScene() {
    Record("BeginScene()");
    return NextResult(beginSceneResults, beginSceneResult);
}
HRESULT FakeDevice::EndScene() {
    Record("EndScene()");
    return D3D_OK;
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
HRESULT FakeDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertices,
                                         UINT startIndex, UINT count) {
    Record("DrawIndexedPrimitive(%d,%u,%u,%u,%u)", int(type), minIndex, vertices, startIndex, count);
    return D3D_OK;
}
HRESULT FakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void*, UINT stride) {
    Record("DrawPrimitiveUP(%d,%u,%u)", int(type), count, stride);
    return D3D_OK;
}
HRESULT FakeDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertices,
                                           UINT count, const void*, D3DFORMAT, const void*,
                                           UINT stride) {
    Record("DrawIndexedPrimitiveUP(%d,%u,%u,%u,%u)", int(type), minIndex, vertices, count, stride);
    return D3D_OK;
}
HRESULT FakeDevice::ProcessVertices(UINT, UINT, UINT, IDirect3DVertexBuffer8*, DWORD) {
    Record("ProcessVertices()");
    return D3DERR_INVALIDCALL;
}

// ---- Fixed-function state -------------------------------------------------------------
HRESULT FakeDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    Record("SetTransform(%d)", int(state));
    if (!matrix) return D3DERR_INVALIDCALL;
    transforms[DWORD(state)] = *matrix;
    transformHistory.push_back({DWORD(state), *matrix});
    return D3D_OK;
}
HRESULT FakeDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    Record("GetTransform(%d)", int(state));
    if (!matrix) return D3DERR_INVALIDCALL;
    auto found = transforms.find(DWORD(state));
    if (found != transforms.end()) {
        *matrix = found->second;
    } else {
        *matrix = {};
        matrix->_11 = matrix->_22 = matrix->_33 = matrix->_44 = 1.0f;
    }
    return D3D_OK;
}
HRESULT FakeDevice::MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX*) {
    Record("MultiplyTransform(%d)", int(state));
    return D3D_OK;
}
HRESULT FakeDevice::SetViewport(const D3DVIEWPORT8* viewport) {
    if (viewport)
        Record("SetViewport(%lu,%lu,%lu,%lu)", viewport->X, viewport->Y, viewport->Width,
               viewport->Height);
    else
        Record("SetViewport(null)");
    return viewport ? D3D_OK : D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetViewport(D3DVIEWPORT8* viewport) {
    Record("GetViewport()");
    if (!viewport) return D3DERR_INVALIDCALL;
    *viewport = {0, 0, backBufferWidth, backBufferHeight, 0.0f, 1.0f};
    return D3D_OK;
}
HRESULT FakeDevice::SetMaterial(const D3DMATERIAL8*) { Record("SetMaterial()"); return D3D_OK; }
HRESULT FakeDevice::GetMaterial(D3DMATERIAL8* material) {
    Record("GetMaterial()");
    if (material) *material = {};
    return D3D_OK;
}
HRESULT FakeDevice::SetLight(DWORD index, const D3DLIGHT8*) { Record("SetLight(%lu)", index); return D3D_OK; }
HRESULT FakeDevice::GetLight(DWORD index, D3DLIGHT8*) {
    Record("GetLight(%lu)", index);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::LightEnable(DWORD index, WINBOOL enable) {
    Record("LightEnable(%lu,%d)", index, int(enable));
    return D3D_OK;
}
HRESULT FakeDevice::GetLightEnable(DWORD index, WINBOOL* enable) {
    Record("GetLightEnable(%lu)", index);
    if (enable) *enable = FALSE;
    return D3D_OK;
}
HRESULT FakeDevice::SetClipPlane(DWORD index, const float*) { Record("SetClipPlane(%lu)", index); return D3D_OK; }
HRESULT FakeDevice::GetClipPlane(DWORD index, float*) {
    Record("GetClipPlane(%lu)", index);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    Record("SetRenderState(%d,%lu)", int(state), value);
    renderStates[DWORD(state)] = value;
    return D3D_OK;
}
HRESULT FakeDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    Record("GetRenderState(%d)", int(state));
    if (!value) return D3DERR_INVALIDCALL;
    auto found = renderStates.find(DWORD(state));
    *value = found != renderStates.end() ? found->second : 0;
    return D3D_OK;
}
HRESULT FakeDevice::BeginStateBlock() { Record("BeginStateBlock()"); return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::EndStateBlock(DWORD*) { Record("EndStateBlock()"); return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::ApplyStateBlock(DWORD) { Record("ApplyStateBlock()"); return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::CaptureStateBlock(DWORD) { Record("CaptureStateBlock()"); return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::DeleteStateBlock(DWORD) { Record("DeleteStateBlock()"); return D3DERR_INVALIDCALL; }
HRESULT FakeDevice::CreateStateBlock(D3DSTATEBLOCKTYPE, DWORD*) {
    Record("CreateStateBlock()");
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetClipStatus(const D3DCLIPSTATUS8*) { Record("SetClipStatus()"); return D3D_OK; }
HRESULT FakeDevice::GetClipStatus(D3DCLIPSTATUS8* status) {
    Record("GetClipStatus()");
    if (status) *status = {};
    return D3D_OK;
}
HRESULT FakeDevice::GetTexture(DWORD stage, IDirect3DBaseTexture8** texture) {
    Record("GetTexture(%lu)", stage);
    if (!texture || stage >= 8) return D3DERR_INVALIDCALL;
    *texture = boundTextures[stage];
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}
HRESULT FakeDevice::SetTexture(DWORD stage, IDirect3DBaseTexture8* texture) {
    Record("SetTexture(%lu,%s)", stage, NameOf(texture).c_str());
    if (stage >= 8) return D3DERR_INVALIDCALL;
    boundTextures[stage] = texture;
    return D3D_OK;
}
HRESULT FakeDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    Record("GetTextureStageState(%lu,%d)", stage, int(type));
    if (!value) return D3DERR_INVALIDCALL;
    auto found = textureStageStates.find({stage, DWORD(type)});
    *value = found != textureStageStates.end() ? found->second : 0;
    return D3D_OK;
}
HRESULT FakeDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    Record("SetTextureStageState(%lu,%d,%lu)", stage, int(type), value);
    textureStageStates[{stage, DWORD(type)}] = value;
    return D3D_OK;
}
HRESULT FakeDevice::ValidateDevice(DWORD* passes) {
    Record("ValidateDevice()");
    if (passes) *passes = 1;
    return D3D_OK;
}
HRESULT FakeDevice::GetInfo(DWORD id, void*, DWORD) { Record("GetInfo(%lu)", id); return S_FALSE; }
HRESULT FakeDevice::SetPaletteEntries(UINT palette, const PALETTEENTRY*) {
    Record("SetPaletteEntries(%u)", palette);
    return D3D_OK;
}
HRESULT FakeDevice::GetPaletteEntries(UINT palette, PALETTEENTRY*) {
    Record("GetPaletteEntries(%u)", palette);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetCurrentTexturePalette(UINT palette) {
    Record("SetCurrentTexturePalette(%u)", palette);
    return D3D_OK;
}
HRESULT FakeDevice::GetCurrentTexturePalette(UINT* palette) {
    Record("GetCurrentTexturePalette()");
    if (palette) *palette = 0;
    return D3D_OK;
}

// ---- Shaders and streams --------------------------------------------------------------
HRESULT FakeDevice::CreateVertexShader(const DWORD*, const DWORD*, DWORD* shader, DWORD) {
    Record("CreateVertexShader()");
    if (shader) *shader = 0;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetVertexShader(DWORD handle) {
    Record("SetVertexShader(%lu)", handle);
    vertexShader = handle;
    return D3D_OK;
}
HRESULT FakeDevice::GetVertexShader(DWORD* handle) {
    Record("GetVertexShader()");
    if (!handle) return D3DERR_INVALIDCALL;
    *handle = vertexShader;
    return D3D_OK;
}
HRESULT FakeDevice::DeleteVertexShader(DWORD handle) {
    Record("DeleteVertexShader(%lu)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetVertexShaderConstant(DWORD reg, const void*, DWORD count) {
    Record("SetVertexShaderConstant(%lu,%lu)", reg, count);
    return D3D_OK;
}
HRESULT FakeDevice::GetVertexShaderConstant(DWORD reg, void*, DWORD count) {
    Record("GetVertexShaderConstant(%lu,%lu)", reg, count);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetVertexShaderDeclaration(DWORD handle, void*, DWORD*) {
    Record("GetVertexShaderDeclaration(%lu)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetVertexShaderFunction(DWORD handle, void*, DWORD*) {
    Record("GetVertexShaderFunction(%lu)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) {
    Record("SetStreamSource(%u,%s,%u)", stream, NameOf(buffer).c_str(), stride);
    if (stream != 0) return D3D_OK;
    streamSource = buffer;
    streamStride = stride;
    return D3D_OK;
}
HRESULT FakeDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer8** buffer, UINT* stride) {
    Record("GetStreamSource(%u)", stream);
    if (!buffer || !stride) return D3DERR_INVALIDCALL;
    *buffer = stream == 0 ? streamSource : nullptr;
    *stride = stream == 0 ? streamStride : 0;
    if (*buffer) (*buffer)->AddRef();
    return D3D_OK;
}
HRESULT FakeDevice::SetIndices(IDirect3DIndexBuffer8*, UINT baseVertex) {
    Record("SetIndices(%u)", baseVertex);
    return D3D_OK;
}
HRESULT FakeDevice::GetIndices(IDirect3DIndexBuffer8** indices, UINT* baseVertex) {
    Record("GetIndices()");
    if (indices) *indices = nullptr;
    if (baseVertex) *baseVertex = 0;
    return D3D_OK;
}
HRESULT FakeDevice::CreatePixelShader(const DWORD*, DWORD* shader) {
    Record("CreatePixelShader()");
    if (shader) *shader = 0;
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetPixelShader(DWORD handle) { Record("SetPixelShader(%lu)", handle); return D3D_OK; }
HRESULT FakeDevice::GetPixelShader(DWORD* handle) {
    Record("GetPixelShader()");
    if (handle) *handle = 0;
    return D3D_OK;
}
HRESULT FakeDevice::DeletePixelShader(DWORD handle) {
    Record("DeletePixelShader(%lu)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::SetPixelShaderConstant(DWORD reg, const void*, DWORD count) {
    Record("SetPixelShaderConstant(%lu,%lu)", reg, count);
    return D3D_OK;
}
HRESULT FakeDevice::GetPixelShaderConstant(DWORD reg, void*, DWORD count) {
    Record("GetPixelShaderConstant(%lu,%lu)", reg, count);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::GetPixelShaderFunction(DWORD handle, void*, DWORD*) {
    Record("GetPixelShaderFunction(%lu)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::DrawRectPatch(UINT handle, const float*, const D3DRECTPATCH_INFO*) {
    Record("DrawRectPatch(%u)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::DrawTriPatch(UINT handle, const float*, const D3DTRIPATCH_INFO*) {
    Record("DrawTriPatch(%u)", handle);
    return D3DERR_INVALIDCALL;
}
HRESULT FakeDevice::DeletePatch(UINT handle) {
    Record("DeletePatch(%u)", handle);
    return D3DERR_INVALIDCALL;
}
