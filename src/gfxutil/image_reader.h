// Reading image files held in memory: format detection and the readers.
//
// LoadedImage is what a reader produces and what the load operation hands to the pixel
// conversion: its pixels either point into the caller's bytes (never written) or into a
// buffer the image owns, freed with it.
#pragma once

#include <windows.h>
#include <d3d8types.h>

#include <cstdint>

#include "gfxutil/d3dx_surface.h"
#include "gfxutil/scratch_buffer.h"

namespace gfx {

struct LoadedImage {
    D3DFORMAT format = D3DFMT_UNKNOWN;
    uint32_t width = 0, height = 0, depth = 1;
    int64_t pitch = 0;       // bytes from one row to the next, negative when rows lie bottom first
    const BYTE* pixels = nullptr;   // the top row
    ScratchBuffer<BYTE> ownedPixels;        // backs pixels when they were converted
    bool hasPalette = false;
    PALETTEENTRY palette[256] = {};
    D3DXIMAGE_FILEFORMAT fileFormat = D3DXIFF_DIB;
};

// Offers data to the readers in turn (BMP file, PPM, DDS, JPEG, PNG, TGA, DIB); the first
// that accepts it reads it. D3DXERR_INVALIDDATA when none does. On success, info (if not
// null) describes the image.
HRESULT ReadImage(const BYTE* data, uint64_t size, LoadedImage& image, D3DXIMAGE_INFO* info);

// Reads a device-independent bitmap: a BITMAPINFOHEADER (or a later, longer header), the
// colour table and the pixels. S_OK, E_FAIL (malformed), E_NOTIMPL (unknown compression)
// or E_OUTOFMEMORY.
HRESULT ReadDibImage(const BYTE* data, uint64_t size, LoadedImage& image);

// Run-length decoders for 8-bit and 4-bit DIBs: stream is the encoded pixel data; out is a
// zero-filled buffer of height rows of pitch bytes (top row first; the stream's first line
// is the bottom row), one byte per pixel. Nothing is written outside it.
void DecodeRle8(const BYTE* stream, uint64_t size, BYTE* out, uint32_t pitch, uint32_t width,
                uint32_t height);
void DecodeRle4(const BYTE* stream, uint64_t size, BYTE* out, uint32_t pitch, uint32_t width,
                uint32_t height);

}  // namespace gfx
