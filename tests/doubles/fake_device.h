// FakeDevice: an IDirect3DDevice8 whose textures and vertex buffers are real memory, and the
// reference counting of all Direct3D doubles, each counted in LiveFakes() while it lives.
#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "doubles/memory_surface.h"

struct FakeLiveCounts {
    int direct3d = 0, devices = 0, textures = 0, vertexBuffers = 0;
};
inline FakeLiveCounts& LiveFakes() {
    static FakeLiveCounts counts;
    return counts;
}

// IUnknown of every fake but the surfaces, counted in `Live`.
template <class Stub, int FakeLiveCounts::*Live>
class FakeUnknown : public Stub {
public:
    FakeUnknown() { ++(LiveFakes().*Live); }
    virtual ~FakeUnknown() { --(LiveFakes().*Live); }
    STDMETHOD(QueryInterface)(REFIID, void** object) override { return *object = nullptr, E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs_; }
    STDMETHOD_(ULONG, Release)() override {
        ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }
    ULONG RefCount() const { return refs_; }

private:
    ULONG refs_ = 1;
};

struct FakeRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class T>
using FakeRef = std::unique_ptr<T, FakeRelease>;   // adopts one reference

HRESULT NextResult(std::deque<HRESULT>& queue, HRESULT sticky = D3D_OK);

class FakeDevice;

class FakeVertexBuffer : public FakeUnknown<StubIDirect3DVertexBuffer8, &FakeLiveCounts::vertexBuffers> {
public:
    FakeVertexBuffer(FakeDevice* device, UINT length, D3DPOOL pool);
    ~FakeVertexBuffer() override;
    FakeDevice* const device;
    const D3DPOOL pool;
    std::vector<BYTE> memory;
    bool locked = false;
    STDMETHOD(Lock)(UINT offset, UINT size, BYTE** data, DWORD flags) override;
    STDMETHOD(Unlock)() override { return locked ? (locked = false, D3D_OK) : D3DERR_INVALIDCALL; }
};

class FakeTexture : public FakeUnknown<StubIDirect3DTexture8, &FakeLiveCounts::textures> {
public:
    // Level count 0 asks for the whole chain down to 1 x 1.
    FakeTexture(FakeDevice* device, UINT width, UINT height, UINT levels, D3DFORMAT format,
                D3DPOOL pool);
    ~FakeTexture() override;
    FakeDevice* const device;
    const D3DFORMAT format;
    const D3DPOOL pool;
    std::vector<std::unique_ptr<MemorySurface>> levels;
    STDMETHOD_(DWORD, GetLevelCount)() override { return DWORD(levels.size()); }
    STDMETHOD(GetSurfaceLevel)(UINT level, IDirect3DSurface8** surface) override;
};

struct FakeDraw {
    D3DPRIMITIVETYPE type;
    UINT start, count;
    IDirect3DBaseTexture8* texture;
    std::map<DWORD, DWORD> states, stageStates;
    std::map<DWORD, D3DMATRIX> transforms;
};

class FakeDevice : public FakeUnknown<StubIDirect3DDevice8, &FakeLiveCounts::devices> {
public:
    FakeDevice(IDirect3D8* direct3d, HWND focusWindow, const D3DPRESENT_PARAMETERS& params);
    ~FakeDevice() override { direct3d_->Release(); }

    const HWND focusWindow;
    D3DPRESENT_PARAMETERS presentParams;   // as created, then as given to every successful Reset

    // Script: a call takes the front of its queue while there is one, else the sticky value.
    std::deque<HRESULT> cooperativeLevelResults;
    HRESULT cooperativeLevel = D3D_OK;
    HRESULT resetResult = D3D_OK;
    std::deque<HRESULT> createTextureResults, createVertexBufferResults,
        vertexBufferLockResults, surfaceLevelResults;   // the last for every texture's levels

    // Record: Reset, Present, Clear, BeginScene and EndScene in order (a test may add its own
    // steps), the state set so far and every draw with the state it used.
    std::vector<std::string> calls;
    std::map<DWORD, DWORD> renderStates, stageStates;
    std::map<DWORD, D3DMATRIX> transforms;
    IDirect3DBaseTexture8* texture = nullptr;
    IDirect3DVertexBuffer8* streamSource = nullptr;
    std::vector<FakeDraw> draws;
    void ClearLog() { calls.clear(), draws.clear(); }

    STDMETHOD(TestCooperativeLevel)() override { return NextResult(cooperativeLevelResults, cooperativeLevel); }
    STDMETHOD(Reset)(D3DPRESENT_PARAMETERS* params) override;
    STDMETHOD(Present)(const RECT*, const RECT*, HWND, const RGNDATA*) override { return Note("Present"); }
    STDMETHOD(GetBackBuffer)(UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface8** surface) override {
        backBuffer_->AddRef();
        return *surface = backBuffer_.get(), D3D_OK;
    }
    STDMETHOD(CreateTexture)(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                             D3DPOOL pool, IDirect3DTexture8** texture) override;
    STDMETHOD(CreateVertexBuffer)(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                  IDirect3DVertexBuffer8** buffer) override;
    STDMETHOD(BeginScene)() override { return Note("BeginScene"); }
    STDMETHOD(EndScene)() override { return Note("EndScene"); }
    STDMETHOD(Clear)(DWORD, const D3DRECT*, DWORD, D3DCOLOR, float, DWORD) override { return Note("Clear"); }
    STDMETHOD(SetTransform)(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override {
        return transforms[state] = *matrix, D3D_OK;
    }
    STDMETHOD(SetRenderState)(D3DRENDERSTATETYPE state, DWORD value) override { return renderStates[state] = value, D3D_OK; }
    STDMETHOD(SetTexture)(DWORD stage, IDirect3DBaseTexture8* bound) override {
        if (stage == 0) texture = bound;
        return D3D_OK;
    }
    STDMETHOD(SetTextureStageState)(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override {
        if (stage == 0) stageStates[type] = value;
        return D3D_OK;
    }
    STDMETHOD(DrawPrimitive)(D3DPRIMITIVETYPE type, UINT start, UINT count) override {
        draws.push_back({type, start, count, texture, renderStates, stageStates, transforms});
        return D3D_OK;
    }
    STDMETHOD(SetVertexShader)(DWORD) override { return D3D_OK; }
    STDMETHOD(SetStreamSource)(UINT stream, IDirect3DVertexBuffer8* buffer, UINT) override {
        if (stream == 0) streamSource = buffer;
        return D3D_OK;
    }

private:
    HRESULT Note(const char* name) { return calls.push_back(name), D3D_OK; }
    void MakeBackBuffer();
    IDirect3D8* direct3d_;
    std::unique_ptr<MemorySurface> backBuffer_;
};
