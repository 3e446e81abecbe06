// Pixel codecs: reading rows of a surface region into colour values and writing colour
// values back, for one D3DFORMAT each.
//
// A PixelCodec describes one side of a blit: where the region starts in memory, how rows
// and slices follow one another, the region's size, and what decoding and encoding need
// (palette, colour key, dither table). It owns no memory; the pixels belong to the caller
// (a locked surface or the source image) for the length of the blit.
#pragma once

#include <windows.h>
#include <d3d8types.h>

#include <cstdint>

// One colour: red, green, blue, alpha, nominally 0 to 1.
struct D3DXCOLOR {
    float r, g, b, a;
};

namespace gfx {

// Ordered-dither thresholds, row by row, column by column. The plain table rounds to the
// nearest step; the dither table spreads the rounding error over each 4 x 4 block.
using DitherTable = float[4][4];
extern const DitherTable kPlainDither;
extern const DitherTable kOrderedDither;

// How a format's pixels are laid out. Channels absent from the format have 0 bits.
struct PixelLayout {
    D3DFORMAT format;
    uint32_t bytesPerPixel;
    uint8_t aBits, aShift, rBits, rShift, gBits, gShift, bBits, bShift;
    bool canEncode;   // luminance and palettized formats are read only
};

// The layout of a format, or null when the loader has no codec for it.
const PixelLayout* FindPixelLayout(D3DFORMAT format);

struct PixelCodec {
    const PixelLayout* layout = nullptr;
    BYTE* base = nullptr;          // the region's top-left pixel
    int64_t rowPitch = 0;
    int64_t slicePitch = 0;
    uint32_t width = 0, height = 0, depth = 1;
    const DitherTable* dither = &kPlainDither;
    bool hasColorKey = false;
    D3DXCOLOR colorKey = {};
    bool hasPalette = false;
    D3DXCOLOR palette[256] = {};   // decoded palette of a P8 source

    BYTE* Row(uint32_t row, uint32_t slice) const {
        return base + int64_t(slice) * slicePitch + int64_t(row) * rowPitch;
    }
    void DecodeRow(uint32_t row, uint32_t slice, D3DXCOLOR* out) const;
    void EncodeRow(uint32_t row, uint32_t slice, const D3DXCOLOR* in) const;
};

// Fills the format-dependent parts of a codec; false when the format has no codec.
// palette may be null (every entry then decodes as opaque white); colorKey 0 means none.
bool InitPixelCodec(PixelCodec& codec, D3DFORMAT format, const PALETTEENTRY* palette,
                    D3DCOLOR colorKey, bool dither);

}  // namespace gfx
