// DestinationLock: direct lock of the destination, or the detour through a temporary image
// surface for a default-pool surface that cannot be locked.
#include "gfxutil/surface_lock.h"

#include "host/release.h"

namespace gfx {

HRESULT DestinationLock::Lock(IDirect3DSurface8* surface, const D3DSURFACE_DESC& desc,
                              const RECT& region) {
    region_ = region;
    target_ = surface;
    D3DLOCKED_RECT rect = {};
    HRESULT hr = surface->LockRect(&rect, &region_, D3DLOCK_NOSYSLOCK);
    if (SUCCEEDED(hr)) {
        locked_ = surface;
        bits_ = static_cast<BYTE*>(rect.pBits);
        pitch_ = rect.Pitch;
        return S_OK;
    }
    // Managed, system-memory and dynamic surfaces lock directly or not at all.
    if (desc.Pool != D3DPOOL_DEFAULT || (desc.Usage & D3DUSAGE_DYNAMIC)) return hr;
    return LockThroughTemporary(surface, desc);
}

HRESULT DestinationLock::LockThroughTemporary(IDirect3DSurface8* surface,
                                              const D3DSURFACE_DESC& desc) {
    HRESULT hr = surface->GetDevice(&device_);
    if (SUCCEEDED(hr)) hr = device_->CreateImageSurface(desc.Width, desc.Height, desc.Format, &temporary_);
    bool whole = region_.left == 0 && region_.top == 0 && UINT(region_.right) == desc.Width &&
                 UINT(region_.bottom) == desc.Height;
    // The whole temporary surface goes back at unlock, so unless the region covers it all
    // it must start with the destination's content.
    if (SUCCEEDED(hr) && !whole) hr = device_->CopyRects(surface, nullptr, 0, temporary_, nullptr);
    D3DLOCKED_RECT rect = {};
    if (SUCCEEDED(hr)) hr = temporary_->LockRect(&rect, &region_, D3DLOCK_NOSYSLOCK);
    if (FAILED(hr)) {
        ReleaseTemporary();
        return hr;
    }
    locked_ = temporary_;
    bits_ = static_cast<BYTE*>(rect.pBits);
    pitch_ = rect.Pitch;
    return S_OK;
}

HRESULT DestinationLock::Unlock() {
    if (!locked_) return S_OK;
    locked_->UnlockRect();
    locked_ = nullptr;
    bits_ = nullptr;
    HRESULT hr = S_OK;
    if (temporary_) {
        hr = device_->CopyRects(temporary_, nullptr, 0, target_, nullptr);
    }
    ReleaseTemporary();
    return hr;
}

void DestinationLock::ReleaseTemporary() {
    ReleaseAndClear(temporary_);
    ReleaseAndClear(device_);
}

}  // namespace gfx
