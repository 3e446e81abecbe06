// FakeDevice: an IDirect3DDevice8 for tests, with the resources it creates (FakeSurface,
// FakeTexture, FakeVertexBuffer) backed by real memory.
//
// Made by FakeDirect3D::CreateDevice (see fake_direct3d.h); FakeDirect3D::onDeviceCreated
// lets a test script the device before the code under test gets it.
//
// What it records (public fields, read them directly):
//   calls           every call in order as readable text, e.g.
//                     "SetRenderState(137,0)"  "SetTextureStageState(0,16,2)"
//                     "SetTransform(3)"  "SetTexture(0,texture#2)"  "SetTexture(0,null)"
//                     "SetStreamSource(0,vb#1,20)"  "SetVertexShader(258)"
//                     "Clear(0,3,0xffffffff,1,0)"  "BeginScene()"  "EndScene()"
//                     "DrawPrimitive(4,0,96)"  "Present()"  "Reset(0x0,22)"
//                     "TestCooperativeLevel()"  "CreateTexture(256,256,7,0,22,1)"
//                   Numbers are the platform's enumeration values in decimal, colours in
//                   hex, floats as %g. Objects are named by kind and creation order on this
//                   device: texture#1, vb#1, surface#1 (image surfaces), backbuffer.
//   renderStates, textureStageStates[{stage,type}], transforms, boundTextures[stage],
//   streamSource/streamStride, vertexShader: the state last set (pointers are weak:
//                   compare them, never use them).
//   transformHistory every SetTransform with its matrix, in order.
//   presentParams   as given at creation, replaced by every successful Reset.
//
// What a test scripts (results are taken from the front of a queue while it has entries,
// otherwise the sticky value applies; queue entries may be D3D_OK to let a call through):
//   cooperativeLevelResults / cooperativeLevel    TestCooperativeLevel
//   resetResults / resetResult                    Reset
//   beginSceneResults / beginSceneResult          BeginScene
//   createTextureResults                          CreateTexture (failure: no texture)
//   createVertexBufferResults                     CreateVertexBuffer
//   vertexBufferLockResults                       FakeVertexBuffer::Lock
//   lockRectResults                               LockRect of textures and surfaces
//   backBufferFormat, backBufferWidth/Height      what GetBackBuffer's surface describes
//   rowPadding                                    extra bytes at the end of every locked
//                                                 row of textures and image surfaces, so
//                                                 code that ignores the pitch shows up
//
// Methods the product never calls are recorded by name only and return E_NOTIMPL.
//
// Reference counts follow Direct3D 8: the device holds a reference to its FakeDirect3D;
// every resource holds a reference to its device (a leaked texture keeps the device
// alive); texture level surfaces hold a reference to their texture. Bound textures and
// the stream source are NOT referenced by the device.
#pragma once

#include <windows.h>
#include <d3d8.h>

#include <cstdarg>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "doubles/fake_com.h"

class FakeDirect3D;
class FakeDevice;

// Bytes per pixel of the formats the fakes can hold in memory; 0 for any other format.
UINT FakeBytesPerPixel(D3DFORMAT format);

// Takes the front of `queue` if it has one, else `sticky`.
HRESULT NextResult(std::deque<HRESULT>& queue, HRESULT sticky = D3D_OK);

// Appends one formatted entry to a call log.
void AppendCall(std::vector<std::string>& calls, const char* format, va_list args);

// How many of `calls` are calls of the method `name`.
int CountCallsNamed(const std::vector<std::string>& calls, const char* name);

// GetDevice of every resource: one more reference to `device`.
HRESULT FakeGetDevice(FakeDevice* device, IDirect3DDevice8** out);

// Plumbing of the resource interfaces that nothing under test relies on.
#define FAKE_PRIVATE_DATA                                                                   \
    STDMETHOD(GetDevice)(IDirect3DDevice8** d) override { return FakeGetDevice(device_, d); } \
    STDMETHOD(SetPrivateData)(REFGUID, const void*, DWORD, DWORD) override { return D3D_OK; } \
    STDMETHOD(GetPrivateData)(REFGUID, void*, DWORD*) override { return D3DERR_NOTFOUND; }  \
    STDMETHOD(FreePrivateData)(REFGUID) override { return D3D_OK; }
#define FAKE_PRIORITY                                                  \
    STDMETHOD_(DWORD, SetPriority)(DWORD) override { return 0; }       \
    STDMETHOD_(DWORD, GetPriority)() override { return 0; }            \
    STDMETHOD_(void, PreLoad)() override {}

// ---- Vertex buffer ------------------------------------------------------------------
class FakeVertexBuffer : public FakeUnknown<IDirect3DVertexBuffer8, FakeKind::VertexBuffer> {
public:
    FakeVertexBuffer(FakeDevice* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    ~FakeVertexBuffer() override;

    std::string label;            // "vb#N"
    std::vector<BYTE> memory;     // the buffer's contents
    DWORD usage, fvf;
    D3DPOOL pool;
    bool locked = false;
    UINT lockCount = 0;           // successful Lock calls

    FAKE_PRIVATE_DATA
    FAKE_PRIORITY
    STDMETHOD_(D3DRESOURCETYPE, GetType)() override { return D3DRTYPE_VERTEXBUFFER; }
    STDMETHOD(Lock)(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    STDMETHOD(Unlock)() override;
    STDMETHOD(GetDesc)(D3DVERTEXBUFFER_DESC* desc) override;

private:
    FakeDevice* device_;
};

// ---- Texture ------------------------------------------------------------------------
class FakeTexture : public FakeUnknown<IDirect3DTexture8, FakeKind::Texture> {
public:
    struct Level {
        UINT width, height, pitch;
        std::vector<BYTE> memory;   // pitch x height bytes
        bool locked = false;
    };
    FakeTexture(FakeDevice* device, UINT width, UINT height, UINT levels, DWORD usage,
                D3DFORMAT format, D3DPOOL pool);
    ~FakeTexture() override;

    std::string label;            // "texture#N"
    std::vector<Level> levels;
    DWORD usage;
    D3DFORMAT format;
    D3DPOOL pool;
    FakeDevice* Device() const { return device_; }
    HRESULT LockLevel(UINT level, D3DLOCKED_RECT* locked, const RECT* rect);
    HRESULT UnlockLevel(UINT level);
    void DescribeLevel(UINT level, D3DSURFACE_DESC* desc) const;

    FAKE_PRIVATE_DATA
    FAKE_PRIORITY
    STDMETHOD_(D3DRESOURCETYPE, GetType)() override { return D3DRTYPE_TEXTURE; }
    STDMETHOD_(DWORD, SetLOD)(DWORD) override { return 0; }
    STDMETHOD_(DWORD, GetLOD)() override { return 0; }
    STDMETHOD_(DWORD, GetLevelCount)() override { return DWORD(levels.size()); }
    STDMETHOD(GetLevelDesc)(UINT level, D3DSURFACE_DESC* desc) override;
    STDMETHOD(GetSurfaceLevel)(UINT level, IDirect3DSurface8** surface) override;
    STDMETHOD(LockRect)(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    STDMETHOD(UnlockRect)(UINT level) override;
    STDMETHOD(AddDirtyRect)(const RECT*) override { return D3D_OK; }

private:
    FakeDevice* device_;
};

// ---- Surface ------------------------------------------------------------------------
// Either a level of a FakeTexture (holds a reference to the texture and shares its
// memory) or a surface of its own (image surface, back buffer).
class FakeSurface : public FakeUnknown<IDirect3DSurface8, FakeKind::Surface> {
public:
    FakeSurface(FakeDevice* device, UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                DWORD usage, const char* label);
    FakeSurface(FakeTexture* texture, UINT level);
    ~FakeSurface() override;

    std::string label;            // "surface#N", "backbuffer" or "texture#N.levelL"
    FakeTexture* Texture() const { return texture_; }
    UINT Level() const { return level_; }
    // The surface's own memory (empty for a texture level: see FakeTexture::levels).
    FakeTexture::Level own;

    FAKE_PRIVATE_DATA
    STDMETHOD(GetContainer)(REFIID, void** container) override;
    STDMETHOD(GetDesc)(D3DSURFACE_DESC* desc) override;
    STDMETHOD(LockRect)(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    STDMETHOD(UnlockRect)() override;

private:
    FakeDevice* device_;
    FakeTexture* texture_ = nullptr;
    UINT level_ = 0;
    D3DFORMAT format_ = D3DFMT_UNKNOWN;
    D3DPOOL pool_ = D3DPOOL_SYSTEMMEM;
    DWORD usage_ = 0;
};

// Methods the product never calls: recorded by name, then E_NOTIMPL.
#define FAKE_UNUSED(name, ...) \
    STDMETHOD(name)(__VA_ARGS__) override { Record(#name "()"); return E_NOTIMPL; }

// ---- Device -------------------------------------------------------------------------
class FakeDevice : public FakeUnknown<IDirect3DDevice8, FakeKind::Device> {
public:
    FakeDevice(FakeDirect3D* direct3d, UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
               DWORD behaviorFlags, const D3DPRESENT_PARAMETERS& params);
    ~FakeDevice() override;

    // Creation.
    UINT adapter;
    D3DDEVTYPE deviceType;
    HWND focusWindow;
    DWORD behaviorFlags;
    D3DPRESENT_PARAMETERS presentParams;

    // Script.
    std::deque<HRESULT> cooperativeLevelResults;
    HRESULT cooperativeLevel = D3D_OK;
    std::deque<HRESULT> resetResults;
    HRESULT resetResult = D3D_OK;
    std::deque<HRESULT> beginSceneResults;
    HRESULT beginSceneResult = D3D_OK;
    std::deque<HRESULT> createTextureResults;
    std::deque<HRESULT> createVertexBufferResults;
    std::deque<HRESULT> vertexBufferLockResults;
    std::deque<HRESULT> lockRectResults;
    D3DFORMAT backBufferFormat;
    UINT backBufferWidth, backBufferHeight;
    UINT rowPadding = 0;

    // Record.
    std::vector<std::string> calls;
    std::map<DWORD, DWORD> renderStates;
    std::map<std::pair<DWORD, DWORD>, DWORD> textureStageStates;
    std::map<DWORD, D3DMATRIX> transforms;
    std::vector<std::pair<DWORD, D3DMATRIX>> transformHistory;
    IDirect3DBaseTexture8* boundTextures[8] = {};
    IDirect3DVertexBuffer8* streamSource = nullptr;
    UINT streamStride = 0;
    DWORD vertexShader = 0;
    UINT texturesCreated = 0, vertexBuffersCreated = 0, surfacesCreated = 0;

    // Helpers for assertions.
    int CountCalls(const char* name) const;        // calls whose method name is `name`
    int IndexOf(const std::string& call, int from = 0) const;   // -1 when absent
    bool Called(const std::string& call) const { return IndexOf(call) >= 0; }
    std::string Log() const;                      // all calls, one per line
    void ClearLog() { calls.clear(); transformHistory.clear(); }
    void Record(const char* format, ...);
    std::string NameOf(IUnknown* object) const;

    // IDirect3DDevice8: what the product uses.
    STDMETHOD(TestCooperativeLevel)() override;
    STDMETHOD(GetDeviceCaps)(D3DCAPS8* caps) override;
    STDMETHOD(Reset)(D3DPRESENT_PARAMETERS* params) override;
    STDMETHOD(Present)(const RECT* src, const RECT* dst, HWND window, const RGNDATA* dirty) override;
    STDMETHOD(GetBackBuffer)(UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface8** surface) override;
    STDMETHOD(CreateTexture)(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool, IDirect3DTexture8** texture) override;
    STDMETHOD(CreateVertexBuffer)(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                  IDirect3DVertexBuffer8** buffer) override;
    STDMETHOD(CreateImageSurface)(UINT width, UINT height, D3DFORMAT format,
                                  IDirect3DSurface8** surface) override;
    STDMETHOD(CopyRects)(IDirect3DSurface8*, const RECT*, UINT count, IDirect3DSurface8*,
                         const POINT*) override;
    STDMETHOD(BeginScene)() override;
    STDMETHOD(EndScene)() override { Record("EndScene()"); return D3D_OK; }
    STDMETHOD(Clear)(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                     DWORD stencil) override;
    STDMETHOD(SetTransform)(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    STDMETHOD(SetRenderState)(D3DRENDERSTATETYPE state, DWORD value) override;
    STDMETHOD(SetTexture)(DWORD stage, IDirect3DBaseTexture8* texture) override;
    STDMETHOD(SetTextureStageState)(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    STDMETHOD(DrawPrimitive)(D3DPRIMITIVETYPE type, UINT start, UINT count) override;
    STDMETHOD(SetVertexShader)(DWORD handle) override;
    STDMETHOD(SetStreamSource)(UINT stream, IDirect3DVertexBuffer8* buffer, UINT stride) override;

    // IDirect3DDevice8: the rest.
    STDMETHOD_(UINT, GetAvailableTextureMem)() override { Record("GetAvailableTextureMem()"); return 64u << 20; }
    STDMETHOD_(void, SetCursorPosition)(UINT, UINT, DWORD) override { Record("SetCursorPosition()"); }
    STDMETHOD_(WINBOOL, ShowCursor)(WINBOOL) override { Record("ShowCursor()"); return FALSE; }
    STDMETHOD_(void, SetGammaRamp)(DWORD, const D3DGAMMARAMP*) override { Record("SetGammaRamp()"); }
    STDMETHOD_(void, GetGammaRamp)(D3DGAMMARAMP*) override { Record("GetGammaRamp()"); }
    FAKE_UNUSED(ResourceManagerDiscardBytes, DWORD)
    FAKE_UNUSED(GetDirect3D, IDirect3D8**)
    FAKE_UNUSED(GetDisplayMode, D3DDISPLAYMODE*)
    FAKE_UNUSED(GetCreationParameters, D3DDEVICE_CREATION_PARAMETERS*)
    FAKE_UNUSED(SetCursorProperties, UINT, UINT, IDirect3DSurface8*)
    FAKE_UNUSED(CreateAdditionalSwapChain, D3DPRESENT_PARAMETERS*, IDirect3DSwapChain8**)
    FAKE_UNUSED(GetRasterStatus, D3DRASTER_STATUS*)
    FAKE_UNUSED(CreateVolumeTexture, UINT, UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DVolumeTexture8**)
    FAKE_UNUSED(CreateCubeTexture, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DCubeTexture8**)
    FAKE_UNUSED(CreateIndexBuffer, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer8**)
    FAKE_UNUSED(CreateRenderTarget, UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, WINBOOL, IDirect3DSurface8**)
    FAKE_UNUSED(CreateDepthStencilSurface, UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, IDirect3DSurface8**)
    FAKE_UNUSED(UpdateTexture, IDirect3DBaseTexture8*, IDirect3DBaseTexture8*)
    FAKE_UNUSED(GetFrontBuffer, IDirect3DSurface8*)
    FAKE_UNUSED(SetRenderTarget, IDirect3DSurface8*, IDirect3DSurface8*)
    FAKE_UNUSED(GetRenderTarget, IDirect3DSurface8**)
    FAKE_UNUSED(GetDepthStencilSurface, IDirect3DSurface8**)
    FAKE_UNUSED(GetTransform, D3DTRANSFORMSTATETYPE, D3DMATRIX*)
    FAKE_UNUSED(MultiplyTransform, D3DTRANSFORMSTATETYPE, const D3DMATRIX*)
    FAKE_UNUSED(SetViewport, const D3DVIEWPORT8*)
    FAKE_UNUSED(GetViewport, D3DVIEWPORT8*)
    FAKE_UNUSED(SetMaterial, const D3DMATERIAL8*)
    FAKE_UNUSED(GetMaterial, D3DMATERIAL8*)
    FAKE_UNUSED(SetLight, DWORD, const D3DLIGHT8*)
    FAKE_UNUSED(GetLight, DWORD, D3DLIGHT8*)
    FAKE_UNUSED(LightEnable, DWORD, WINBOOL)
    FAKE_UNUSED(GetLightEnable, DWORD, WINBOOL*)
    FAKE_UNUSED(SetClipPlane, DWORD, const float*)
    FAKE_UNUSED(GetClipPlane, DWORD, float*)
    FAKE_UNUSED(GetRenderState, D3DRENDERSTATETYPE, DWORD*)
    FAKE_UNUSED(BeginStateBlock)
    FAKE_UNUSED(EndStateBlock, DWORD*)
    FAKE_UNUSED(ApplyStateBlock, DWORD)
    FAKE_UNUSED(CaptureStateBlock, DWORD)
    FAKE_UNUSED(DeleteStateBlock, DWORD)
    FAKE_UNUSED(CreateStateBlock, D3DSTATEBLOCKTYPE, DWORD*)
    FAKE_UNUSED(SetClipStatus, const D3DCLIPSTATUS8*)
    FAKE_UNUSED(GetClipStatus, D3DCLIPSTATUS8*)
    FAKE_UNUSED(GetTexture, DWORD, IDirect3DBaseTexture8**)
    FAKE_UNUSED(GetTextureStageState, DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*)
    FAKE_UNUSED(ValidateDevice, DWORD*)
    FAKE_UNUSED(GetInfo, DWORD, void*, DWORD)
    FAKE_UNUSED(SetPaletteEntries, UINT, const PALETTEENTRY*)
    FAKE_UNUSED(GetPaletteEntries, UINT, PALETTEENTRY*)
    FAKE_UNUSED(SetCurrentTexturePalette, UINT)
    FAKE_UNUSED(GetCurrentTexturePalette, UINT*)
    FAKE_UNUSED(DrawIndexedPrimitive, D3DPRIMITIVETYPE, UINT, UINT, UINT, UINT)
    FAKE_UNUSED(DrawPrimitiveUP, D3DPRIMITIVETYPE, UINT, const void*, UINT)
    FAKE_UNUSED(DrawIndexedPrimitiveUP, D3DPRIMITIVETYPE, UINT, UINT, UINT, const void*, D3DFORMAT, const void*, UINT)
    FAKE_UNUSED(ProcessVertices, UINT, UINT, UINT, IDirect3DVertexBuffer8*, DWORD)
    FAKE_UNUSED(CreateVertexShader, const DWORD*, const DWORD*, DWORD*, DWORD)
    FAKE_UNUSED(GetVertexShader, DWORD*)
    FAKE_UNUSED(DeleteVertexShader, DWORD)
    FAKE_UNUSED(SetVertexShaderConstant, DWORD, const void*, DWORD)
    FAKE_UNUSED(GetVertexShaderConstant, DWORD, void*, DWORD)
    FAKE_UNUSED(GetVertexShaderDeclaration, DWORD, void*, DWORD*)
    FAKE_UNUSED(GetVertexShaderFunction, DWORD, void*, DWORD*)
    FAKE_UNUSED(GetStreamSource, UINT, IDirect3DVertexBuffer8**, UINT*)
    FAKE_UNUSED(SetIndices, IDirect3DIndexBuffer8*, UINT)
    FAKE_UNUSED(GetIndices, IDirect3DIndexBuffer8**, UINT*)
    FAKE_UNUSED(CreatePixelShader, const DWORD*, DWORD*)
    FAKE_UNUSED(SetPixelShader, DWORD)
    FAKE_UNUSED(GetPixelShader, DWORD*)
    FAKE_UNUSED(DeletePixelShader, DWORD)
    FAKE_UNUSED(SetPixelShaderConstant, DWORD, const void*, DWORD)
    FAKE_UNUSED(GetPixelShaderConstant, DWORD, void*, DWORD)
    FAKE_UNUSED(GetPixelShaderFunction, DWORD, void*, DWORD*)
    FAKE_UNUSED(DrawRectPatch, UINT, const float*, const D3DRECTPATCH_INFO*)
    FAKE_UNUSED(DrawTriPatch, UINT, const float*, const D3DTRIPATCH_INFO*)
    FAKE_UNUSED(DeletePatch, UINT)

private:
    FakeDirect3D* direct3d_;
    void TakeBackBufferFromParams();
};
