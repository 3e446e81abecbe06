// Fuzzes D3DXLoadSurfaceFromFileInMemory with arbitrary image bytes (the input after a
// four-byte destination prefix); each run checks that the destination's guards were not
// written and the surface unlocked. The image bytes end where the input ends, so a read
// past them is caught, and libFuzzer itself catches a write into them.
//
// Runs are kept small so that millions fit in an hour: destinations of at most 8 x 8,
// and bitmaps declaring more than 32 x 32 pixels are skipped, unless they are so large that
// the reader refuses them at once (the size checks stay under test).
#include <cstdlib>
#include <cstring>

#include "fuzz_common.h"
#include "gfxutil/scratch_buffer.h"

namespace {

constexpr uint64_t kMaxPixels = 32 * 32;

// The pixel count a bitmap header at `dib` declares; 0 when the data is too short for one.
uint64_t DeclaredPixels(const uint8_t* dib, size_t size) {
    if (size < 12) return 0;
    int32_t width, height;
    std::memcpy(&width, dib + 4, 4);
    std::memcpy(&height, dib + 8, 4);
    return uint64_t(std::llabs(width)) * uint64_t(std::llabs(height));
}

bool CostlyButAccepted(const uint8_t* image, size_t size) {
    for (size_t header : {size_t(0), size_t(14)}) {   // a resource's DIB, or a file's
        uint64_t pixels = size > header ? DeclaredPixels(image + header, size - header) : 0;
        if (pixels > kMaxPixels && pixels <= gfx::kMaxImageBytes) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzReader in{data, size};
    D3DFORMAT format = FuzzFormat(in.Byte());
    UINT width = FuzzSide(in), height = FuzzSide(in);
    DWORD filter = FuzzFilter(in);
    if (CostlyButAccepted(in.Rest(), in.RestSize())) return 0;
    MemorySurface& surface = FuzzSurface(width, height, format);
    D3DXIMAGE_INFO info;
    D3DXLoadSurfaceFromFileInMemory(&surface, nullptr, nullptr, in.Rest(), UINT(in.RestSize()),
                                    nullptr, filter, 0, &info);
    if (!surface.GuardsIntact() || surface.locked) std::abort();
    return 0;
}
