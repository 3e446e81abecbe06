// Helpers of the art tests: the shipped chains and bitmaps, and an 8-bit DIB decoder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "art_set.h"

namespace arttest {

using Level = artgen::ArtBitmap;

// Chain 0, 1, 2 (sky, clouds, stone): its seven levels, largest first.
inline std::vector<Level> Chain(int c) {
    const auto& all = artgen::ArtBitmaps();
    return std::vector<Level>(all.begin() + 7 * c, all.begin() + 7 * c + 7);
}
inline const Level& Glow() { return artgen::ArtBitmaps()[21]; }

inline std::vector<std::uint8_t> ResourceBytes(int id, LPCSTR type) {
    HRSRC info = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    HGLOBAL handle = info ? ::LoadResource(nullptr, info) : nullptr;
    const auto* data = handle ? static_cast<const std::uint8_t*>(::LockResource(handle)) : nullptr;
    return data ? std::vector<std::uint8_t>(data, data + ::SizeofResource(nullptr, info))
                : std::vector<std::uint8_t>();
}

struct Picture {
    int size = 0;
    std::vector<int> rgb;  // 3 values per pixel, rows top first
    const int* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * size + x)]; }
};

// Decodes one of the shipped square 8-bit bitmaps (the generator's test compares their bytes).
inline Picture LoadPicture(int id) {
    const std::vector<std::uint8_t> dib = ResourceBytes(id, MAKEINTRESOURCEA(2));
    BITMAPINFOHEADER h{};
    if (dib.size() >= sizeof(h)) std::memcpy(&h, dib.data(), sizeof(h));
    Picture p;
    p.size = h.biWidth;
    const std::uint8_t* table = dib.data() + h.biSize;
    const std::uint8_t* pixels = table + 4 * h.biClrUsed;
    for (int y = 0; y < p.size; ++y) {
        const std::uint8_t* row = pixels + static_cast<size_t>(p.size - 1 - y) * p.size;
        for (int x = 0; x < p.size; ++x) {
            const std::uint8_t* c = table + 4 * row[x];
            p.rgb.insert(p.rgb.end(), {c[2], c[1], c[0]});
        }
    }
    return p;
}

}  // namespace arttest
