// D3DXLoadSurfaceFromFileInMemory: reads an image held in memory and writes it, or a region
// of it, into a region of a Direct3D surface. The image's bytes are only read; whatever the
// reader allocated is freed before returning.
#include <windows.h>
#include <d3d8.h>

#include "gfxutil/d3dx_surface.h"
#include "gfxutil/image_reader.h"
#include "gfxutil/load_pixels.h"

namespace {

bool RegionInsideImage(const RECT& r, const gfx::LoadedImage& image) {
    return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom &&
           int64_t(r.right) <= int64_t(image.width) && int64_t(r.bottom) <= int64_t(image.height);
}

}  // namespace

HRESULT D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface8* destSurface,
                                        const PALETTEENTRY* destPalette, const RECT* destRect,
                                        const void* srcData, UINT srcDataSize,
                                        const RECT* srcRect, DWORD filter, D3DCOLOR colorKey,
                                        D3DXIMAGE_INFO* srcInfo) {
    if (!destSurface || !srcData || srcDataSize == 0) return D3DERR_INVALIDCALL;
    gfx::LoadedImage image;
    HRESULT hr = gfx::ReadImage(static_cast<const BYTE*>(srcData), srcDataSize, image, srcInfo);
    if (FAILED(hr)) return hr;
    RECT region = {0, 0, LONG(image.width), LONG(image.height)};
    if (srcRect) {
        if (!RegionInsideImage(*srcRect, image)) return D3DERR_INVALIDCALL;
        region = *srcRect;
    }
    hr = gfx::LoadPixels(destSurface, destPalette, destRect, image.pixels, image.format,
                         image.pitch, image.hasPalette ? image.palette : nullptr, &region,
                         filter, colorKey);
    return FAILED(hr) ? hr : S_OK;
}
