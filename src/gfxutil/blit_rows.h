// BlitRows: moves a region of pixels from a source to a destination region, converting the
// format and rescaling as the filter asks. Both sides are plain memory here; locking the
// destination surface is the caller's business.
#pragma once

#include <windows.h>
#include <d3d8types.h>

#include <cstdint>

namespace gfx {

// One side of a blit: the region's top-left pixel, how rows and slices follow one another,
// the region's size and, for a palettised format, its 256 palette entries (or null).
struct BlitSide {
    D3DFORMAT format = D3DFMT_UNKNOWN;
    BYTE* base = nullptr;
    int64_t rowPitch = 0;
    int64_t slicePitch = 0;
    uint32_t width = 0, height = 0, depth = 1;
    const PALETTEENTRY* palette = nullptr;
};

// A filter is valid when its low 16 bits name a filter type (1 to 5) and no bit at or above
// 0x100000 is set. D3DX_DEFAULT must be resolved before.
bool IsValidFilter(DWORD filter);

// Chooses the blit method for the two sides and the filter and runs it. The source is only
// read. Results: S_OK; D3DERR_INVALIDCALL for an invalid filter; E_FAIL when a format has no
// codec or no method applies; E_OUTOFMEMORY.
HRESULT BlitRows(const BlitSide& dst, const BlitSide& src, DWORD filter, D3DCOLOR colorKey);

}  // namespace gfx
