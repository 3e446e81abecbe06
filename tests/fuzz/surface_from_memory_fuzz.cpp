// Fuzzes D3DXLoadSurfaceFromMemory. The source rows are the last bytes of the input (as many
// rows as it holds, up to the height asked for; the last row without its padding), so a read
// past them is caught, and libFuzzer itself catches a write into them. A source rectangle
// reaching past the source pixels is not passed on: the function cannot know the size of the
// caller's memory. A palette goes only with P8 sources, as the program passes it.
#include <algorithm>
#include <cstdlib>
#include <cstring>

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
    UINT srcWidth = FuzzSide(in), srcHeight = FuzzSide(in);
    RECT srcRect = FuzzRect(in);
    D3DFORMAT dstFormat = FuzzFormat(in.Byte());
    UINT dstWidth = FuzzSide(in), dstHeight = FuzzSide(in);
    bool useDestRect = in.Byte() & 1;
    RECT destRect = FuzzRect(in);
    DWORD filter = FuzzFilter(in);
    D3DCOLOR key = (in.Byte() & 1) ? in.Dword() : 0;
    UINT row = srcWidth * MemorySurface::BytesPerPixel(srcFormat), pitch = row + (in.Byte() & 7);
    if (in.RestSize() < row) return 0;
    srcHeight = std::min(srcHeight, UINT(1 + (in.RestSize() - row) / pitch));
    if (ReachesPast(srcRect, srcWidth, srcHeight)) return 0;

    static PALETTEENTRY palette[256];
    std::memset(palette, 0, sizeof(palette));
    std::memcpy(palette, in.Rest(), std::min(in.RestSize(), sizeof(palette)));
    const uint8_t* pixels = data + size - (size_t(pitch) * (srcHeight - 1) + row);
    MemorySurface& surface = FuzzSurface(dstWidth, dstHeight, dstFormat);
    D3DXLoadSurfaceFromMemory(&surface, nullptr, useDestRect ? &destRect : nullptr, pixels,
                              srcFormat, pitch, srcFormat == D3DFMT_P8 ? palette : nullptr,
                              &srcRect, filter, key);
    if (!surface.GuardsIntact() || surface.locked) std::abort();
    return 0;
}
