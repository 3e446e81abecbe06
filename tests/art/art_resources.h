// Helpers of the art tests: the bitmaps and icon that this test executable carries (it
// links the program's compiled resources), read back with the platform's resource calls,
// and a decoder from an 8-bit bottom-up DIB to top-down RGB triples.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace arttest {

// The shipped chains: resource numbers, largest level first, and colour-table sizes.
struct Level {
    int id;
    int size;
    int colours;
};

inline const std::vector<std::vector<Level>>& Chains() {
    static const std::vector<std::vector<Level>> chains = {
        {{121, 256, 256}, {122, 128, 256}, {123, 64, 256}, {124, 32, 256}, {125, 16, 166}, {126, 8, 60}, {127, 4, 17}},
        {{128, 256, 72}, {129, 128, 72}, {130, 64, 80}, {131, 32, 64}, {132, 16, 43}, {133, 8, 22}, {134, 4, 11}},
        {{114, 256, 256}, {135, 128, 256}, {115, 64, 256}, {117, 32, 256}, {118, 16, 153}, {119, 8, 50}, {120, 4, 15}},
    };
    return chains;
}
constexpr Level kGlow = {136, 32, 160};

// The bytes of a resource of this executable, or an empty vector.
inline std::vector<std::uint8_t> ResourceBytes(int id, LPCSTR type) {
    HRSRC info = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (!info) return {};
    const DWORD size = ::SizeofResource(nullptr, info);
    HGLOBAL handle = ::LoadResource(nullptr, info);
    const auto* data = handle ? static_cast<const std::uint8_t*>(::LockResource(handle)) : nullptr;
    if (!data || size == 0) return {};
    return std::vector<std::uint8_t>(data, data + size);
}

inline BITMAPINFOHEADER Header(const std::vector<std::uint8_t>& dib) {
    BITMAPINFOHEADER h{};
    if (dib.size() >= sizeof(h)) std::memcpy(&h, dib.data(), sizeof(h));
    return h;
}

struct Picture {
    int size = 0;
    std::vector<int> rgb;  // 3 values per pixel, rows top first
    const int* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * size + x)]; }
};

// Decodes one of the shipped square 8-bit bitmaps (the format checks are the format test's).
inline Picture Decode(const std::vector<std::uint8_t>& dib) {
    const BITMAPINFOHEADER h = Header(dib);
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

inline Picture LoadPicture(int id) { return Decode(ResourceBytes(id, MAKEINTRESOURCEA(2))); }

}  // namespace arttest
