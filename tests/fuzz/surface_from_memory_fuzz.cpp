// Fuzzes D3DXLoadSurfaceFromMemory. A source rectangle reaching past the source pixels is
// not passed on: the function cannot know the size of the caller's memory.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_common.h"

namespace {

// Left, top, right, bottom from one signed byte each (a braced list is read in order).
RECT FuzzRect(FuzzReader& in) {
    auto coordinate = [&in]() { return LONG(int8_t(in.Byte())); };
    return RECT{coordinate(), coordinate(), coordinate(), coordinate()};
}

bool ReachesPast(const RECT& r, UINT width, UINT height) {
    bool wellFormed = r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom;
    return wellFormed && (r.right > LONG(width) || r.bottom > LONG(height));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in{data, size};
    D3DFORMAT srcFormat = FuzzFormat(in.Byte());
    UINT srcWidth = in.Byte() % 64 + 1, srcHeight = in.Byte() % 64 + 1;
    RECT srcRect = FuzzRect(in);
    D3DFORMAT dstFormat = FuzzFormat(in.Byte());
    UINT dstWidth = in.Byte() % 64 + 1, dstHeight = in.Byte() % 64 + 1;
    bool useDestRect = in.Byte() & 1;
    RECT destRect = FuzzRect(in);
    DWORD filter = FuzzFilter(in);
    D3DCOLOR key = (in.Byte() & 1) ? in.Dword() : 0;
    if (ReachesPast(srcRect, srcWidth, srcHeight)) return 0;

    UINT pitch = srcWidth * MemorySurface::BytesPerPixel(srcFormat) + (in.Byte() & 7);
    std::vector<uint8_t> pixels(size_t(pitch) * srcHeight, 0);
    for (size_t i = 0; i < pixels.size() && in.RestSize(); ++i) pixels[i] = in.Rest()[i % in.RestSize()];
    std::vector<PALETTEENTRY> palette(256);
    std::memcpy(palette.data(), pixels.data(), std::min(pixels.size(), palette.size() * 4));
    std::vector<uint8_t> before = pixels;

    MemorySurface* surface = new MemorySurface(dstWidth, dstHeight, dstFormat);
    D3DXLoadSurfaceFromMemory(surface, nullptr, useDestRect ? &destRect : nullptr,
                              pixels.data(), srcFormat, pitch, palette.data(), &srcRect,
                              filter, key);
    if (pixels != before || !surface->GuardsIntact() || surface->locked) std::abort();
    surface->Release();
    return 0;
}
