// MemorySurface: the plain-memory IDirect3DSurface8 of the tests (see memory_surface.h).
#include "doubles/memory_surface.h"

#include <cstring>

MemorySurface::MemorySurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                             IUnknown* container)
    : container_(container) {
    desc_ = {format, D3DRTYPE_SURFACE, 0, pool, 0, D3DMULTISAMPLE_NONE, width, height};
    bytesPerPixel_ = BytesPerPixel(format);
    pitch_ = size_t(width) * bytesPerPixel_ + kGuard;
    desc_.Size = UINT(pitch_ * height);
    memory_.assign(kGuard + pitch_ * height + kGuard, kGuardByte);
    for (UINT y = 0; y < height; ++y) std::memset(Row(y), 0, size_t(width) * bytesPerPixel_);
}

UINT MemorySurface::BytesPerPixel(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_A8R8G8B8: case D3DFMT_X8R8G8B8: case D3DFMT_A2B10G10R10: case D3DFMT_G16R16:
        return 4;
    case D3DFMT_R8G8B8:
        return 3;
    case D3DFMT_P8: case D3DFMT_R3G3B2: case D3DFMT_A8: case D3DFMT_L8:
        return 1;
    default:
        return 2;
    }
}

ULONG MemorySurface::Release() {
    if (container_) return container_->Release();
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT MemorySurface::LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    if (!lockedRect || locked) return D3DERR_INVALIDCALL;
    if (FAILED(lockResult)) return lockResult;
    RECT r = rect ? *rect : RECT{0, 0, LONG(desc_.Width), LONG(desc_.Height)};
    if (r.left < 0 || r.top < 0 || r.left > r.right || r.top > r.bottom ||
        UINT(r.right) > desc_.Width || UINT(r.bottom) > desc_.Height)
        return D3DERR_INVALIDCALL;
    ++lockCount;
    locked = true;
    lastLockFlags = flags;
    lockedRect->Pitch = INT(pitch_);
    lockedRect->pBits = Row(UINT(r.top)) + size_t(r.left) * bytesPerPixel_;
    return S_OK;
}

HRESULT MemorySurface::UnlockRect() {
    if (!locked) return D3DERR_INVALIDCALL;
    locked = false;
    return S_OK;
}

uint32_t MemorySurface::Pixel(UINT x, UINT y) const {
    const BYTE* p = &memory_[kGuard + size_t(y) * pitch_ + size_t(x) * bytesPerPixel_];
    uint32_t v = 0;
    for (UINT i = 0; i < bytesPerPixel_; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

void MemorySurface::SetPixel(UINT x, UINT y, uint32_t value) {
    BYTE* p = Row(y) + size_t(x) * bytesPerPixel_;
    for (UINT i = 0; i < bytesPerPixel_; ++i) p[i] = BYTE(value >> (8 * i));
}

void MemorySurface::Fill(uint32_t value) {
    for (UINT y = 0; y < desc_.Height; ++y)
        for (UINT x = 0; x < desc_.Width; ++x) SetPixel(x, y, value);
}

bool MemorySurface::GuardsIntact() const {
    size_t rowBytes = size_t(desc_.Width) * bytesPerPixel_;
    for (size_t i = 0; i < kGuard; ++i)
        if (memory_[i] != kGuardByte || memory_[memory_.size() - 1 - i] != kGuardByte) return false;
    for (UINT y = 0; y < desc_.Height; ++y) {
        const BYTE* pad = &memory_[kGuard + size_t(y) * pitch_ + rowBytes];
        for (size_t i = 0; i < kGuard; ++i)
            if (pad[i] != kGuardByte) return false;
    }
    return true;
}
