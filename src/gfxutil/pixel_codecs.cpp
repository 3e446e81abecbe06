// Pixel codecs: the table of formats the loader reads and writes, and the row decoders and
// encoders built on it. Every format is a packed little-endian pixel of 1 to 4 bytes with
// up to four channels at fixed bit positions; P8 decodes through its palette.
#include "gfxutil/pixel_codec.h"

#include <cstring>

namespace gfx {

const DitherTable kPlainDither = {
    {0.5f, 0.5f, 0.5f, 0.5f},
    {0.5f, 0.5f, 0.5f, 0.5f},
    {0.5f, 0.5f, 0.5f, 0.5f},
    {0.5f, 0.5f, 0.5f, 0.5f},
};

// The 4 x 4 ordered-dither matrix M as (M + 0.5) / 16.
const DitherTable kOrderedDither = {
    {15.5f / 16, 7.5f / 16, 13.5f / 16, 5.5f / 16},
    {3.5f / 16, 11.5f / 16, 1.5f / 16, 9.5f / 16},
    {12.5f / 16, 4.5f / 16, 14.5f / 16, 6.5f / 16},
    {0.5f / 16, 8.5f / 16, 2.5f / 16, 10.5f / 16},
};

namespace {

//                format               bytes  a      r       g       b      encode
const PixelLayout kLayouts[] = {
    {D3DFMT_R8G8B8,      3, 0, 0,  8, 16,  8, 8,  8, 0,  true},
    {D3DFMT_A8R8G8B8,    4, 8, 24, 8, 16,  8, 8,  8, 0,  true},
    {D3DFMT_X8R8G8B8,    4, 0, 0,  8, 16,  8, 8,  8, 0,  true},
    {D3DFMT_R5G6B5,      2, 0, 0,  5, 11,  6, 5,  5, 0,  true},
    {D3DFMT_X1R5G5B5,    2, 0, 0,  5, 10,  5, 5,  5, 0,  true},
    {D3DFMT_A1R5G5B5,    2, 1, 15, 5, 10,  5, 5,  5, 0,  true},
    {D3DFMT_A4R4G4B4,    2, 4, 12, 4, 8,   4, 4,  4, 0,  true},
    {D3DFMT_X4R4G4B4,    2, 0, 0,  4, 8,   4, 4,  4, 0,  true},
    {D3DFMT_R3G3B2,      1, 0, 0,  3, 5,   3, 2,  2, 0,  true},
    {D3DFMT_A8R3G3B2,    2, 8, 8,  3, 5,   3, 2,  2, 0,  true},
    {D3DFMT_A2B10G10R10, 4, 2, 30, 10, 0,  10, 10, 10, 20, true},
    {D3DFMT_G16R16,      4, 0, 0,  16, 0,  16, 16, 0, 0,  true},
    {D3DFMT_A8L8,        2, 8, 8,  8, 0,   8, 0,  8, 0,  false},
    {D3DFMT_P8,          1, 0, 0,  0, 0,   0, 0,  0, 0,  false},
};

uint32_t ReadPixel(const BYTE* p, uint32_t bytes) {
    uint32_t v = 0;
    for (uint32_t i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
    return v;
}

void WritePixel(BYTE* p, uint32_t bytes, uint32_t v) {
    for (uint32_t i = 0; i < bytes; ++i) p[i] = BYTE(v >> (8 * i));
}

float Channel(uint32_t pixel, uint8_t bits, uint8_t shift, float absent) {
    if (bits == 0) return absent;
    uint32_t maxValue = (uint32_t(1) << bits) - 1;
    return float((pixel >> shift) & maxValue) / float(maxValue);
}

bool SameColour(const D3DXCOLOR& a, const D3DXCOLOR& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

D3DXCOLOR ColourFromArgb(D3DCOLOR argb) {
    return {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f,
            float(argb & 0xFF) / 255.0f, float(argb >> 24) / 255.0f};
}

void DecodePalettised(const PixelCodec& c, const BYTE* src, D3DXCOLOR* out) {
    for (uint32_t x = 0; x < c.width; ++x) out[x] = c.palette[src[x]];
}

void DecodePacked(const PixelCodec& c, const BYTE* src, D3DXCOLOR* out) {
    const PixelLayout& l = *c.layout;
    for (uint32_t x = 0; x < c.width; ++x, src += l.bytesPerPixel) {
        uint32_t p = ReadPixel(src, l.bytesPerPixel);
        out[x] = {Channel(p, l.rBits, l.rShift, 1.0f), Channel(p, l.gBits, l.gShift, 1.0f),
                  Channel(p, l.bBits, l.bShift, 1.0f), Channel(p, l.aBits, l.aShift, 1.0f)};
    }
}

}  // namespace

const PixelLayout* FindPixelLayout(D3DFORMAT format) {
    for (const PixelLayout& layout : kLayouts) {
        if (layout.format == format) return &layout;
    }
    return nullptr;
}

bool InitPixelCodec(PixelCodec& codec, D3DFORMAT format, const PALETTEENTRY* palette,
                    D3DCOLOR colorKey, bool dither) {
    codec.layout = FindPixelLayout(format);
    if (!codec.layout) return false;
    codec.dither = dither ? &kOrderedDither : &kPlainDither;
    codec.hasColorKey = colorKey != 0;
    codec.colorKey = ColourFromArgb(colorKey);
    codec.hasPalette = palette != nullptr;
    for (int i = 0; i < 256; ++i) {
        if (!palette) {
            codec.palette[i] = {1.0f, 1.0f, 1.0f, 1.0f};
            continue;
        }
        const PALETTEENTRY& e = palette[i];
        codec.palette[i] = {float(e.peRed) / 255.0f, float(e.peGreen) / 255.0f,
                            float(e.peBlue) / 255.0f, float(e.peFlags) / 255.0f};
    }
    return true;
}

void PixelCodec::DecodeRow(uint32_t row, uint32_t slice, D3DXCOLOR* out) const {
    const BYTE* src = Row(row, slice);
    if (layout->format == D3DFMT_P8) {
        DecodePalettised(*this, src, out);
    } else {
        DecodePacked(*this, src, out);
    }
    if (!hasColorKey) return;
    for (uint32_t x = 0; x < width; ++x) {
        if (SameColour(out[x], colorKey)) out[x] = {0.0f, 0.0f, 0.0f, 0.0f};
    }
}

namespace {

// One channel of the encoder: its largest value (0 when the format lacks it) and position.
struct EncodeChannel {
    float scale;
    uint32_t maxValue;
    uint8_t shift;
};

EncodeChannel MakeChannel(uint8_t bits, uint8_t shift) {
    uint32_t maxValue = bits ? (uint32_t(1) << bits) - 1 : 0;
    return {float(maxValue), maxValue, shift};
}

// value = truncate(c x (2^bits - 1) + d). C++ conversion already truncates towards zero
// whatever the rounding mode. The result is held inside the channel's range, so a colour a
// little above 1 or below 0 (filter rounding) never spills into a neighbouring channel.
// A channel the format lacks has scale 0 and packs as 0.
inline uint32_t Pack(const EncodeChannel& ch, float c, float d) {
    float v = c * ch.scale + d;
    uint32_t q = v > 0.0f ? (v >= ch.scale ? ch.maxValue : uint32_t(v)) : 0;
    return q << ch.shift;
}

template <uint32_t Bytes>
void EncodePixels(const PixelLayout& l, const float* thresholds, BYTE* dst,
                  const D3DXCOLOR* in, uint32_t width) {
    const EncodeChannel a = MakeChannel(l.aBits, l.aShift), r = MakeChannel(l.rBits, l.rShift),
                        g = MakeChannel(l.gBits, l.gShift), b = MakeChannel(l.bBits, l.bShift);
    for (uint32_t x = 0; x < width; ++x, dst += Bytes) {
        float d = thresholds[x & 3];
        const D3DXCOLOR& c = in[x];
        uint32_t p = Pack(r, c.r, d) | Pack(g, c.g, d) | Pack(b, c.b, d);
        if (a.maxValue) p |= Pack(a, c.a, d);
        if (Bytes == 4) {
            std::memcpy(dst, &p, 4);
        } else {
            WritePixel(dst, Bytes, p);
        }
    }
}

}  // namespace

void PixelCodec::EncodeRow(uint32_t row, uint32_t slice, const D3DXCOLOR* in) const {
    const float* thresholds = (*dither)[row & 3];
    BYTE* dst = Row(row, slice);
    switch (layout->bytesPerPixel) {
    case 1: EncodePixels<1>(*layout, thresholds, dst, in, width); break;
    case 2: EncodePixels<2>(*layout, thresholds, dst, in, width); break;
    case 3: EncodePixels<3>(*layout, thresholds, dst, in, width); break;
    default: EncodePixels<4>(*layout, thresholds, dst, in, width); break;
    }
}

}  // namespace gfx
