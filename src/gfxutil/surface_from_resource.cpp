// D3DXLoadSurfaceFromResourceA: fills a surface from a bitmap resource of a module (the
// executable when the module is null). The resource bytes are read in place and never
// changed. This is the only part of the surface loader that calls Win32.
#include <windows.h>
#include <d3d8.h>

#include "gfxutil/d3dx_surface.h"

namespace {

// Bitmaps are looked for as RT_BITMAP first, then as raw data.
HRSRC FindImageResource(HMODULE module, LPCSTR name) {
    HRSRC found = ::FindResourceA(module, name, MAKEINTRESOURCEA(2));   // RT_BITMAP
    if (!found) found = ::FindResourceA(module, name, MAKEINTRESOURCEA(10));   // RT_RCDATA
    return found;
}

}  // namespace

HRESULT D3DXLoadSurfaceFromResourceA(IDirect3DSurface8* destSurface,
                                     const PALETTEENTRY* destPalette, const RECT* destRect,
                                     HMODULE srcModule, LPCSTR srcResource, const RECT* srcRect,
                                     DWORD filter, D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo) {
    HRSRC resource = FindImageResource(srcModule, srcResource);
    if (!resource) return D3DXERR_INVALIDDATA;
    DWORD size = ::SizeofResource(srcModule, resource);
    if (size == 0) return D3DXERR_INVALIDDATA;
    HGLOBAL loaded = ::LoadResource(srcModule, resource);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return D3DXERR_INVALIDDATA;
    return D3DXLoadSurfaceFromFileInMemory(destSurface, destPalette, destRect, bytes, size,
                                           srcRect, filter, colorKey, srcInfo);
}
