// DestinationLock: write access to a region of a Direct3D surface for one load operation.
//
// The surface is locked directly when it can be. A default-pool surface that refuses the
// lock is worked on through a temporary image surface of the same size and format, copied
// back into the surface at unlock. The lock holds its references (the temporary surface and
// the device) only between Lock and Unlock; the destructor unlocks if the caller did not.
#pragma once

#include <windows.h>
#include <d3d8.h>

#include <cstdint>

namespace gfx {

class DestinationLock {
public:
    DestinationLock() = default;
    ~DestinationLock() { Unlock(); }
    DestinationLock(const DestinationLock&) = delete;
    DestinationLock& operator=(const DestinationLock&) = delete;

    // Locks region of surface (described by desc) for writing. S_OK, or the failing call's
    // result.
    HRESULT Lock(IDirect3DSurface8* surface, const D3DSURFACE_DESC& desc, const RECT& region);
    // Unlocks and, with a temporary surface, copies it back. S_OK, or the copy's result.
    HRESULT Unlock();

    BYTE* Bits() const { return bits_; }
    int64_t Pitch() const { return pitch_; }

private:
    HRESULT LockThroughTemporary(IDirect3DSurface8* surface, const D3DSURFACE_DESC& desc);
    void ReleaseTemporary();

    IDirect3DSurface8* target_ = nullptr;   // the destination (not referenced)
    IDirect3DSurface8* locked_ = nullptr;   // the surface actually locked
    IDirect3DSurface8* temporary_ = nullptr;
    IDirect3DDevice8* device_ = nullptr;
    RECT region_ = {};
    BYTE* bits_ = nullptr;
    int64_t pitch_ = 0;
};

}  // namespace gfx
