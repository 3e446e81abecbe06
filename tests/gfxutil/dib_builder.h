// Builds device-independent bitmaps in memory for the surface-loading tests, the fuzz seed
// corpus and the benchmark: a BITMAPINFOHEADER, a colour table and the pixel bytes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

struct DibLayout {
    int32_t width = 4, height = 4;     // negative height: top-down rows
    uint16_t bitCount = 8;
    uint32_t compression = BI_RGB;
    uint32_t colorsUsed = 0;           // colour-table entries (0: 2^bitCount up to 8 bits)
    uint32_t headerSize = 40;
};

inline void PutDword(std::vector<BYTE>& out, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + i] = BYTE(v >> (8 * i));
}

// Header and colour table; colour(i) gives the table entry i as 0x00RRGGBB.
template <class Colour>
std::vector<BYTE> DibHeaderAndTable(const DibLayout& s, Colour colour) {
    uint32_t colours = s.colorsUsed;
    if (colours == 0 && s.bitCount <= 8) colours = 1u << s.bitCount;
    std::vector<BYTE> out(s.headerSize + 4 * size_t(colours), 0);
    PutDword(out, 0, s.headerSize);
    PutDword(out, 4, uint32_t(s.width));
    PutDword(out, 8, uint32_t(s.height));
    out[12] = 1;
    out[14] = BYTE(s.bitCount);
    PutDword(out, 16, s.compression);
    PutDword(out, 32, s.colorsUsed);
    for (uint32_t i = 0; i < colours; ++i) PutDword(out, s.headerSize + 4 * i, colour(i));
    return out;
}

// An uncompressed 8-bit bitmap; index(x, stored row) gives each pixel in storage order.
template <class Colour, class Index>
std::vector<BYTE> MakeDib8(const DibLayout& s, Colour colour, Index index) {
    std::vector<BYTE> out = DibHeaderAndTable(s, colour);
    uint32_t rows = uint32_t(s.height < 0 ? -s.height : s.height);
    size_t stride = (size_t(s.width) + 3) & ~size_t(3);
    size_t start = out.size();
    out.resize(start + stride * rows, 0);
    for (uint32_t y = 0; y < rows; ++y) {
        for (int32_t x = 0; x < s.width; ++x) out[start + y * stride + x] = BYTE(index(x, y));
    }
    return out;
}

// The grey ramp palette used by most tests: entry i is (i, 255 - i, i / 2).
inline uint32_t RampColour(uint32_t i) { return i << 16 | (255 - i) << 8 | i / 2; }
