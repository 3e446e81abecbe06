// D3DXLoadSurfaceFromMemory: writes pixels that are already in memory into a region of a
// Direct3D surface, converting, rescaling and dithering them on the way.
//
// Regions are checked before the surface is locked; an empty region on either side, or one
// longer than kMaxImageSide, is an invalid call. The caller's pixels are only read.
#include <windows.h>
#include <d3d8.h>

#include "gfxutil/blit_rows.h"
#include "gfxutil/d3dx_surface.h"
#include "gfxutil/load_pixels.h"
#include "gfxutil/pixel_codec.h"
#include "gfxutil/scratch_buffer.h"
#include "gfxutil/surface_lock.h"

namespace {

bool UsableRegion(const RECT& r) {
    return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom &&
           int64_t(r.right) - r.left <= gfx::kMaxImageSide &&
           int64_t(r.bottom) - r.top <= gfx::kMaxImageSide;
}

bool ResolveDestRegion(const D3DSURFACE_DESC& desc, const RECT* destRect, RECT& region) {
    if (!destRect) {
        region = {0, 0, LONG(desc.Width), LONG(desc.Height)};
    } else {
        region = *destRect;
        if (region.right < 0 || region.bottom < 0 || UINT(region.right) > desc.Width ||
            UINT(region.bottom) > desc.Height) {
            return false;
        }
    }
    return UsableRegion(region);
}

gfx::BlitSide DescribeSource(const void* pixels, D3DFORMAT format, int64_t pitch,
                             const PALETTEENTRY* palette, const RECT& r, uint32_t bytes) {
    gfx::BlitSide side;
    side.format = format;
    // Decoding only ever reads through this pointer.
    side.base = const_cast<BYTE*>(static_cast<const BYTE*>(pixels)) +
                int64_t(r.top) * pitch + int64_t(r.left) * bytes;
    side.rowPitch = pitch;
    side.width = uint32_t(r.right - r.left);
    side.height = uint32_t(r.bottom - r.top);
    side.palette = palette;
    return side;
}

}  // namespace

namespace gfx {

HRESULT LoadPixels(IDirect3DSurface8* destSurface, const PALETTEENTRY* destPalette,
                   const RECT* destRect, const void* srcMemory, D3DFORMAT srcFormat,
                   int64_t srcPitch, const PALETTEENTRY* srcPalette, const RECT* srcRect,
                   DWORD filter, D3DCOLOR colorKey) {
    if (!destSurface || !srcMemory || !srcRect) return D3DERR_INVALIDCALL;
    D3DSURFACE_DESC desc = {};
    HRESULT hr = destSurface->GetDesc(&desc);
    if (FAILED(hr)) return hr;
    RECT region;
    if (!ResolveDestRegion(desc, destRect, region) || !UsableRegion(*srcRect)) {
        return D3DERR_INVALIDCALL;
    }
    if (filter == D3DX_DEFAULT) filter = D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER;
    if (!gfx::IsValidFilter(filter)) return D3DERR_INVALIDCALL;
    const gfx::PixelLayout* srcLayout = gfx::FindPixelLayout(srcFormat);
    if (!srcLayout || !gfx::FindPixelLayout(desc.Format)) return E_FAIL;

    DestinationLock lock;
    hr = lock.Lock(destSurface, desc, region);
    if (FAILED(hr)) return hr;
    gfx::BlitSide dst;
    dst.format = desc.Format;
    dst.base = lock.Bits();
    dst.rowPitch = lock.Pitch();
    dst.width = uint32_t(region.right - region.left);
    dst.height = uint32_t(region.bottom - region.top);
    dst.palette = destPalette;
    gfx::BlitSide src = DescribeSource(srcMemory, srcFormat, srcPitch, srcPalette, *srcRect,
                                       srcLayout->bytesPerPixel);
    hr = gfx::BlitRows(dst, src, filter, colorKey);
    HRESULT unlocked = lock.Unlock();
    return FAILED(hr) ? hr : unlocked;
}

}  // namespace gfx

HRESULT D3DXLoadSurfaceFromMemory(IDirect3DSurface8* destSurface,
                                  const PALETTEENTRY* destPalette, const RECT* destRect,
                                  const void* srcMemory, D3DFORMAT srcFormat, UINT srcPitch,
                                  const PALETTEENTRY* srcPalette, const RECT* srcRect,
                                  DWORD filter, D3DCOLOR colorKey) {
    return gfx::LoadPixels(destSurface, destPalette, destRect, srcMemory, srcFormat, srcPitch,
                           srcPalette, srcRect, filter, colorKey);
}
