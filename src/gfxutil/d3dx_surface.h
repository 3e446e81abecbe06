// Surface loading: filling a Direct3D surface from a bitmap resource of the executable,
// from image bytes in memory, or from pixels in memory (with format conversion, the
// triangle filter and ordered dithering).
//
// Limits, beyond what the operations themselves define (every size is worked out in 64-bit
// arithmetic, so no header or rectangle can make it wrap):
//   - a destination or source region that is empty, inverted, starts at a negative
//     coordinate or has a side longer than 16384 pixels: D3DERR_INVALIDCALL;
//   - a bitmap header with a width of 0 or less, a height of 0, a side longer than 16384
//     pixels, or rows that do not fit in the data: E_FAIL; a run-length bitmap whose bit
//     count is not that of its encoding: E_FAIL;
//   - a bitmap that would decode into more than 64 MiB: E_OUTOFMEMORY;
//   - rescaling by any method but the triangle filter (none, point, linear, box at exactly
//     half size, anything across slices): E_FAIL, never another picture.
// The caller's pixels and image bytes are only read.
#pragma once

#include <windows.h>
#include <d3d8.h>

#define D3DX_DEFAULT            ((UINT)-1)
#define D3DX_FILTER_NONE        (1 << 0)
#define D3DX_FILTER_POINT       (2 << 0)
#define D3DX_FILTER_LINEAR      (3 << 0)
#define D3DX_FILTER_TRIANGLE    (4 << 0)
#define D3DX_FILTER_BOX         (5 << 0)
#define D3DX_FILTER_MIRROR_U    (1 << 16)
#define D3DX_FILTER_MIRROR_V    (2 << 16)
#define D3DX_FILTER_MIRROR_W    (4 << 16)
#define D3DX_FILTER_DITHER      (8 << 16)

constexpr HRESULT D3DXERR_INVALIDDATA = HRESULT(0x88760B59);

enum D3DXIMAGE_FILEFORMAT {
    D3DXIFF_BMP = 0,
    D3DXIFF_JPG = 1,
    D3DXIFF_TGA = 2,
    D3DXIFF_PNG = 3,
    D3DXIFF_DDS = 4,
    D3DXIFF_PPM = 5,
    D3DXIFF_DIB = 6,
};

struct D3DXIMAGE_INFO {
    UINT Width;
    UINT Height;
    UINT Depth;
    UINT MipLevels;
    D3DFORMAT Format;
    D3DRESOURCETYPE ResourceType;
    D3DXIMAGE_FILEFORMAT ImageFileFormat;
};

HRESULT D3DXLoadSurfaceFromResourceA(IDirect3DSurface8* destSurface,
                                     const PALETTEENTRY* destPalette, const RECT* destRect,
                                     HMODULE srcModule, LPCSTR srcResource, const RECT* srcRect,
                                     DWORD filter, D3DCOLOR colorKey, D3DXIMAGE_INFO* srcInfo);

HRESULT D3DXLoadSurfaceFromFileInMemory(IDirect3DSurface8* destSurface,
                                        const PALETTEENTRY* destPalette, const RECT* destRect,
                                        const void* srcData, UINT srcDataSize,
                                        const RECT* srcRect, DWORD filter, D3DCOLOR colorKey,
                                        D3DXIMAGE_INFO* srcInfo);

HRESULT D3DXLoadSurfaceFromMemory(IDirect3DSurface8* destSurface,
                                  const PALETTEENTRY* destPalette, const RECT* destRect,
                                  const void* srcMemory, D3DFORMAT srcFormat, UINT srcPitch,
                                  const PALETTEENTRY* srcPalette, const RECT* srcRect,
                                  DWORD filter, D3DCOLOR colorKey);
