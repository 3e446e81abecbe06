// The header of a device-independent bitmap as the reader uses it, and the D3DFORMAT its
// pixels are read as.
#pragma once

#include <windows.h>
#include <d3d8types.h>

#include <cstdint>

namespace gfx {

struct DibHeader {
    uint32_t size;          // biSize: 40 for BITMAPINFOHEADER, 108 and up for later headers
    int32_t width, height;  // a negative height marks top-down rows
    uint16_t planes, bitCount;
    uint32_t compression;
    uint32_t colorsUsed;
};

// Reads the fixed part of the header; data holds at least 40 bytes.
DibHeader ParseDibHeader(const BYTE* data);

// Reads the little-endian doubleword at data[offset].
uint32_t ReadDword(const BYTE* data, uint64_t offset);

// The format of the bitmap's pixels. For BI_BITFIELDS the masks are read from data, which
// must hold the header and the three mask doublewords that follow a short header. S_OK,
// E_FAIL for an unsupported bit count or mask set, E_NOTIMPL for an unknown compression.
HRESULT DibPixelFormat(const BYTE* data, const DibHeader& header, D3DFORMAT* format);

}  // namespace gfx
