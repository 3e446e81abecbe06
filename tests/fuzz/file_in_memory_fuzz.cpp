// Fuzzes D3DXLoadSurfaceFromFileInMemory with arbitrary image bytes; each run checks that
// the image bytes and the destination's guards were not written and the surface unlocked.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in{data, size};
    D3DFORMAT format = FuzzFormat(in.Byte());
    UINT width = in.Byte() % 64 + 1, height = in.Byte() % 64 + 1;
    DWORD filter = FuzzFilter(in);
    // The image bytes in a block of their own, so reads past them are caught.
    std::vector<uint8_t> image(in.Rest(), in.Rest() + in.RestSize());
    std::vector<uint8_t> before = image;
    MemorySurface* surface = new MemorySurface(width, height, format);
    D3DXIMAGE_INFO info;
    D3DXLoadSurfaceFromFileInMemory(surface, nullptr, nullptr, image.data(), UINT(image.size()),
                                    nullptr, filter, 0, &info);
    if (image != before || !surface->GuardsIntact() || surface->locked) std::abort();
    surface->Release();
    return 0;
}
