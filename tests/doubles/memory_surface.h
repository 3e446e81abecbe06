// MemorySurface: an IDirect3DSurface8 in plain memory, for the loader tests, fuzzers and
// benchmark, and the surface of the Direct3D doubles. Guard bytes around every row catch
// writes beside a locked region and code that ignores the pitch.
#pragma once

#include <cstdint>
#include <vector>

#include "stub_d3d8.h"

class MemorySurface : public StubIDirect3DSurface8 {
public:
    MemorySurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool = D3DPOOL_MANAGED,
                  IUnknown* container = nullptr);
    virtual ~MemorySurface() = default;

    STDMETHOD(QueryInterface)(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return container_ ? container_->AddRef() : ++references_; }
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetDesc)(D3DSURFACE_DESC* desc) override {
        return desc ? (*desc = desc_, S_OK) : D3DERR_INVALIDCALL;
    }
    STDMETHOD(LockRect)(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    STDMETHOD(UnlockRect)() override;

    static UINT BytesPerPixel(D3DFORMAT format);

    uint32_t Pixel(UINT x, UINT y) const;          // the packed pixel at (x, y)
    void SetPixel(UINT x, UINT y, uint32_t value);
    void Fill(uint32_t value);
    bool GuardsIntact() const;                      // nothing written beside the rows
    BYTE* Row(UINT y) { return &memory_[kGuard + size_t(y) * pitch_]; }

    HRESULT lockResult = S_OK;   // what LockRect returns; a failure locks nothing
    int lockCount = 0;
    bool locked = false;
    DWORD lastLockFlags = 0;

private:
    static constexpr size_t kGuard = 16;
    static constexpr BYTE kGuardByte = 0xA5;

    IUnknown* container_;
    ULONG references_ = 1;
    D3DSURFACE_DESC desc_ = {};
    UINT bytesPerPixel_ = 0;
    size_t pitch_ = 0;           // row bytes plus the guard between rows
    std::vector<BYTE> memory_;
};
