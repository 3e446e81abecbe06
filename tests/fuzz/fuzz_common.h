// Shared by the surface fuzz harnesses: a few input bytes into the sizes, formats and filter
// of a load, and the destination surface.
#pragma once

#include <windows.h>
#include <d3d8.h>

#include <cstdint>
#include <cstdlib>

#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

struct FuzzReader {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    uint32_t Dword() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t(Byte()) << (8 * i);
        return v;
    }
    const uint8_t* Rest() const { return data + (pos < size ? pos : size); }
    size_t RestSize() const { return pos < size ? size - pos : 0; }
};

// Sides of 1..8 pixels: scaling up, down and across by every ratio up to 8, at a small cost.
inline UINT FuzzSide(FuzzReader& in) { return in.Byte() % 8 + 1; }

// One destination for all runs, made again only when its size or format changes. Sound
// because a run leaves it unlocked with its guards intact (or the harness stops), and the
// loader only writes its pixels.
inline MemorySurface& FuzzSurface(UINT width, UINT height, D3DFORMAT format) {
    static MemorySurface* surface = nullptr;
    D3DSURFACE_DESC desc = {};
    if (surface) surface->GetDesc(&desc);
    if (!surface || desc.Width != width || desc.Height != height || desc.Format != format) {
        if (surface) surface->Release();
        surface = new MemorySurface(width, height, format);
    }
    return *surface;
}

inline D3DFORMAT FuzzFormat(uint8_t selector) {
    static const D3DFORMAT kFormats[] = {
        D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5,
        D3DFMT_R8G8B8, D3DFMT_P8, D3DFMT_A4R4G4B4, D3DFMT_A8L8, D3DFMT_G16R16,
        D3DFMT_A2B10G10R10, D3DFMT_A8R3G3B2, D3DFMT_X4R4G4B4, D3DFMT_R3G3B2, D3DFMT_DXT1,
        D3DFMT_L8};
    return kFormats[selector % (sizeof(kFormats) / sizeof(kFormats[0]))];
}

// Mostly the filters the program uses, sometimes any value at all.
inline DWORD FuzzFilter(FuzzReader& in) {
    uint8_t selector = in.Byte();
    switch (selector % 8) {
    case 0: return D3DX_DEFAULT;
    case 1: return D3DX_FILTER_TRIANGLE;
    case 2: return D3DX_FILTER_TRIANGLE | D3DX_FILTER_MIRROR_U | D3DX_FILTER_MIRROR_V;
    case 3: return D3DX_FILTER_TRIANGLE | D3DX_FILTER_DITHER | D3DX_FILTER_MIRROR_V;
    case 4: return D3DX_FILTER_BOX;
    default: return in.Dword();
    }
}
