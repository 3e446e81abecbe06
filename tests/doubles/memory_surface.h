// MemorySurface: an IDirect3DSurface8 backed by plain memory, for the surface-loading tests,
// fuzzers and benchmark. It builds with both the Windows and the native toolchain.
//
// Rows are padded with guard bytes on both sides so that a write outside a locked region's
// rows shows up; every lock is recorded (rectangle, flags), and a lock can be made to fail.
// Reference counting is real; the surface deletes itself at count 0, so create it with new
// (or keep it on the stack and never drop the last reference).
#pragma once

#include <windows.h>
#include <d3d8.h>

#include <cstdint>
#include <vector>

class MemorySurface : public IDirect3DSurface8 {
public:
    MemorySurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool = D3DPOOL_MANAGED);
    virtual ~MemorySurface() = default;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        if (object) *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;
    // IDirect3DSurface8
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice8** device) override {
        if (device) *device = nullptr;
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetContainer(REFIID, void** container) override { return QueryInterface(GUID(), container); }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* desc) override {
        return desc ? (*desc = desc_, S_OK) : D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;

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

    ULONG references_ = 1;
    D3DSURFACE_DESC desc_ = {};
    UINT bytesPerPixel_ = 0;
    size_t pitch_ = 0;           // row bytes plus the guard between rows
    std::vector<BYTE> memory_;
};
