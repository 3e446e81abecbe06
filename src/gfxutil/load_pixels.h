// LoadPixels: the body of D3DXLoadSurfaceFromMemory with a signed row pitch, so that an
// image whose rows are stored bottom row first (a bottom-up bitmap) can be read where it
// lies, walking its rows backwards, instead of being copied first.
#pragma once

#include <windows.h>
#include <d3d8.h>

#include <cstdint>

namespace gfx {

// pixels: the image's top row; pitch: bytes from one row to the next (negative when the
// rows lie bottom first). Otherwise as D3DXLoadSurfaceFromMemory.
HRESULT LoadPixels(IDirect3DSurface8* destSurface, const PALETTEENTRY* destPalette,
                   const RECT* destRect, const void* pixels, D3DFORMAT format, int64_t pitch,
                   const PALETTEENTRY* palette, const RECT* srcRect, DWORD filter,
                   D3DCOLOR colorKey);

}  // namespace gfx
