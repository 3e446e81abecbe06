// BlitRows and its simple methods: Same (the bytes as they are) and Copy (decode and encode
// row by row at the same size). Rescaling goes to the triangle filter. The none, point,
// box and linear methods, and the triangle filter across slices, are not provided: a request
// that would select one of them fails with E_FAIL instead of producing another picture.
#include <cstring>

#include <windows.h>
#include <d3d8.h>

#include "gfxutil/blit_rows.h"
#include "gfxutil/d3dx_surface.h"
#include "gfxutil/pixel_codec.h"
#include "gfxutil/scratch_buffer.h"
#include "gfxutil/triangle_filter.h"

namespace gfx {
namespace {

void InitGeometry(PixelCodec& codec, const BlitSide& side) {
    codec.base = side.base;
    codec.rowPitch = side.rowPitch;
    codec.slicePitch = side.slicePitch;
    codec.width = side.width;
    codec.height = side.height;
    codec.depth = side.depth;
}

bool SameSize(const BlitSide& a, const BlitSide& b) {
    return a.width == b.width && a.height == b.height && a.depth == b.depth;
}

bool SamePalettes(const PixelCodec& a, const PixelCodec& b) {
    return std::memcmp(a.palette, b.palette, sizeof(a.palette)) == 0;
}

bool CanCopyBytes(const PixelCodec& dst, const PixelCodec& src, const BlitSide& d,
                  const BlitSide& s) {
    if (d.format != s.format || !SameSize(d, s) || src.hasColorKey) return false;
    return d.format != D3DFMT_P8 || SamePalettes(dst, src);
}

void BlitSame(const PixelCodec& dst, const PixelCodec& src) {
    size_t rowBytes = size_t(dst.width) * dst.layout->bytesPerPixel;
    for (uint32_t z = 0; z < dst.depth; ++z) {
        for (uint32_t y = 0; y < dst.height; ++y) {
            std::memcpy(dst.Row(y, z), src.Row(y, z), rowBytes);
        }
    }
}

HRESULT BlitCopy(const PixelCodec& dst, const PixelCodec& src) {
    if (!dst.layout->canEncode) return E_FAIL;
    ScratchBuffer<D3DXCOLOR> row;
    if (!row.Allocate(dst.width)) return E_OUTOFMEMORY;
    for (uint32_t z = 0; z < dst.depth; ++z) {
        for (uint32_t y = 0; y < dst.height; ++y) {
            src.DecodeRow(y, z, row.Data());
            dst.EncodeRow(y, z, row.Data());
        }
    }
    return S_OK;
}

// The methods that rescale without the triangle filter, in the order they are tried. None of
// them is provided; their conditions are still checked so that such a request fails.
bool WantsUnprovidedMethod(const BlitSide& d, const BlitSide& s, DWORD type) {
    if (type == D3DX_FILTER_NONE || type == D3DX_FILTER_POINT) return true;
    if (type == D3DX_FILTER_BOX) {
        auto halved = [](uint32_t dst, uint32_t src) {
            return src == 1 ? dst == 1 : dst * 2 == src;
        };
        bool box2d = halved(d.width, s.width) && halved(d.height, s.height);
        if (box2d && (d.depth == 1 || d.depth * 2 == s.depth)) return true;
    }
    return type == D3DX_FILTER_LINEAR;
}

}  // namespace

bool IsValidFilter(DWORD filter) {
    DWORD type = filter & 0xFFFF;
    return type >= D3DX_FILTER_NONE && type <= D3DX_FILTER_BOX && (filter & 0xFFF00000) == 0;
}

HRESULT BlitRows(const BlitSide& d, const BlitSide& s, DWORD filter, D3DCOLOR colorKey) {
    if (!IsValidFilter(filter)) return D3DERR_INVALIDCALL;
    bool dither = (filter & D3DX_FILTER_DITHER) != 0;
    PixelCodec dst, src;
    if (!InitPixelCodec(dst, d.format, d.palette, 0, dither) ||
        !InitPixelCodec(src, s.format, s.palette, colorKey, false)) {
        return E_FAIL;
    }
    InitGeometry(dst, d);
    InitGeometry(src, s);
    if (CanCopyBytes(dst, src, d, s)) {
        BlitSame(dst, src);
        return S_OK;
    }
    if (SameSize(d, s)) return BlitCopy(dst, src);
    if (WantsUnprovidedMethod(d, s, filter & 0xFF)) return E_FAIL;
    if (d.depth == 1 && s.depth == 1) return TriangleBlit(dst, src, filter);
    return E_FAIL;
}

}  // namespace gfx
