// DIB header parsing and the mapping from bit count, compression and bit-field masks to the
// D3DFORMAT the pixels are read as.
#include "gfxutil/dib_format.h"

#include <cstring>

namespace gfx {
namespace {

struct MaskFormat {
    uint16_t bits;
    uint32_t blue, green, red, alpha;
    D3DFORMAT format;
};

const MaskFormat kMaskFormats[] = {
    {32, 0xFF, 0xFF00, 0xFF0000, 0, D3DFMT_X8R8G8B8},
    {32, 0xFF, 0xFF00, 0xFF0000, 0xFF000000, D3DFMT_A8R8G8B8},
    {32, 0x3FF00000, 0xFFC00, 0x3FF, 0xC0000000, D3DFMT_A2B10G10R10},
    {32, 0, 0xFFFF0000, 0xFFFF, 0, D3DFMT_G16R16},
    {24, 0xFF, 0xFF00, 0xFF0000, 0, D3DFMT_R8G8B8},
    {16, 0xFF, 0xFF, 0xFF, 0xFF00, D3DFMT_A8L8},
    {16, 0x1F, 0x7E0, 0xF800, 0, D3DFMT_R5G6B5},
    {16, 0x1F, 0x3E0, 0x7C00, 0, D3DFMT_X1R5G5B5},
    {16, 0x1F, 0x3E0, 0x7C00, 0x8000, D3DFMT_A1R5G5B5},
    {16, 0xF, 0xF0, 0xF00, 0xF000, D3DFMT_A4R4G4B4},
    {16, 0xF, 0xF0, 0xF00, 0, D3DFMT_X4R4G4B4},
    {16, 0x3, 0x1C, 0xE0, 0xFF00, D3DFMT_A8R3G3B2},
};

// Masks: from the header's own fields when it is a BITMAPV4HEADER or later, else the three
// doublewords after the header (no alpha).
HRESULT FormatFromMasks(const BYTE* data, const DibHeader& h, D3DFORMAT* format) {
    bool longHeader = h.size >= 108;
    uint64_t at = longHeader ? 40 : h.size;
    uint32_t red = ReadDword(data, at), green = ReadDword(data, at + 4);
    uint32_t blue = ReadDword(data, at + 8);
    uint32_t alpha = longHeader ? ReadDword(data, 52) : 0;
    for (const MaskFormat& m : kMaskFormats) {
        if (m.bits == h.bitCount && m.red == red && m.green == green && m.blue == blue &&
            m.alpha == alpha) {
            *format = m.format;
            return S_OK;
        }
    }
    return E_FAIL;
}

}  // namespace

uint32_t ReadDword(const BYTE* data, uint64_t offset) {
    const BYTE* p = data + offset;
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

DibHeader ParseDibHeader(const BYTE* data) {
    DibHeader h;
    h.size = ReadDword(data, 0);
    h.width = int32_t(ReadDword(data, 4));
    h.height = int32_t(ReadDword(data, 8));
    h.planes = uint16_t(data[12] | data[13] << 8);
    h.bitCount = uint16_t(data[14] | data[15] << 8);
    h.compression = ReadDword(data, 16);
    h.colorsUsed = ReadDword(data, 32);
    return h;
}

HRESULT DibPixelFormat(const BYTE* data, const DibHeader& h, D3DFORMAT* format) {
    if (h.compression == BI_BITFIELDS) return FormatFromMasks(data, h, format);
    if (h.compression > BI_RLE4) return E_NOTIMPL;
    // Run-length streams only exist for their own bit count; anything else is malformed.
    if ((h.compression == BI_RLE8 && h.bitCount != 8) ||
        (h.compression == BI_RLE4 && h.bitCount != 4)) {
        return E_FAIL;
    }
    switch (h.bitCount) {
    case 1: case 4: case 8: *format = D3DFMT_P8; return S_OK;
    case 16: *format = D3DFMT_X1R5G5B5; return S_OK;
    case 24: *format = D3DFMT_R8G8B8; return S_OK;
    case 32: *format = D3DFMT_X8R8G8B8; return S_OK;
    default: return E_FAIL;
    }
}

}  // namespace gfx
