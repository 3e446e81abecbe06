// Surface loading benchmark: throughput of the conversions and the triangle filter on the
// scene's own cases, beside a plain memory copy of the same destination bytes (the floor),
// and the most working memory the loader held at once during each case.
//
// Prints one line per case: median megapixels per second (destination pixels) over 15
// timed batches, the memcpy floor for the same bytes, and the peak of the loader's heap
// blocks (tracked by allocation_counter.cpp).
#include <windows.h>
#include <d3d8.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <vector>

#include "allocation_counter.h"
#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

// ---- Inputs -----------------------------------------------------------------------------
namespace {

struct P8Image {
    UINT size;
    std::vector<BYTE> pixels;
    PALETTEENTRY palette[256];
    explicit P8Image(UINT s) : size(s), pixels(size_t(s) * s) {
        for (int i = 0; i < 256; ++i) palette[i] = {BYTE(i), BYTE(i * 3), BYTE(255 - i), 255};
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = BYTE((i * 7 + i / s * 13) & 0xFF);
    }
};

// A bottom-up 8-bit DIB resource image of side s, as the scene's bitmaps are stored.
std::vector<BYTE> MakeDib(UINT s) {
    std::vector<BYTE> dib(40 + 1024 + size_t(s) * s, 0);
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = LONG(s);
    h.biHeight = LONG(s);
    h.biPlanes = 1;
    h.biBitCount = 8;
    std::memcpy(dib.data(), &h, sizeof(h));
    for (size_t i = 0; i < 1024; ++i) dib[40 + i] = BYTE(i * 5);
    for (size_t i = 0; i < size_t(s) * s; ++i) dib[40 + 1024 + i] = BYTE(i * 11);
    return dib;
}

double Seconds(const std::function<void()>& work, int repeat) {
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < repeat; ++i) work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Median megapixels per second of work (which writes `pixels` destination pixels).
double MedianRate(const std::function<void()>& work, double pixels) {
    int repeat = 1;
    while (Seconds(work, repeat) < 0.02) repeat *= 2;
    std::vector<double> rates;
    for (int batch = 0; batch < 15; ++batch) {
        rates.push_back(pixels * repeat / Seconds(work, repeat) / 1e6);
    }
    std::sort(rates.begin(), rates.end());
    return rates[rates.size() / 2];
}

void Report(const char* name, const std::function<void()>& work, double pixels, size_t bytes) {
    std::vector<BYTE> from(bytes, 1), to(bytes);
    double floor = MedianRate([&] { std::memcpy(to.data(), from.data(), bytes); }, pixels);
    size_t base = LiveBytes();
    ResetPeakBytes();
    work();
    size_t peak = PeakBytes() - base;
    double rate = MedianRate(work, pixels);
    std::printf("%-34s %9.1f MP/s   memcpy floor %9.1f MP/s   ratio %5.1fx   peak %7.1f KiB\n",
                name, rate, floor, floor / rate, peak / 1024.0);
}

}  // namespace

int main() {
    P8Image large(256), small(32);
    RECT largeRect = {0, 0, 256, 256}, smallRect = {0, 0, 32, 32};
    MemorySurface x8(256, 256, D3DFMT_X8R8G8B8), r565(256, 256, D3DFMT_R5G6B5);
    const double full = 256.0 * 256.0;

    Report("P8 256x256 -> X8R8G8B8", [&] {
        D3DXLoadSurfaceFromMemory(&x8, nullptr, nullptr, large.pixels.data(), D3DFMT_P8, 256,
                                  large.palette, &largeRect, D3DX_DEFAULT, 0);
    }, full, 256 * 256 * 4);
    Report("P8 256x256 -> R5G6B5", [&] {
        D3DXLoadSurfaceFromMemory(&r565, nullptr, nullptr, large.pixels.data(), D3DFMT_P8, 256,
                                  large.palette, &largeRect, D3DX_DEFAULT, 0);
    }, full, 256 * 256 * 2);
    Report("P8 32x32 -> 256x256 triangle", [&] {
        D3DXLoadSurfaceFromMemory(&x8, nullptr, nullptr, small.pixels.data(), D3DFMT_P8, 32,
                                  small.palette, &smallRect, D3DX_DEFAULT, 0);
    }, full, 256 * 256 * 4);

    std::vector<std::vector<BYTE>> chain;
    std::vector<MemorySurface*> levels;
    double chainPixels = 0;
    size_t chainBytes = 0;
    for (UINT s = 256; s >= 4; s /= 2) {
        chain.push_back(MakeDib(s));
        levels.push_back(new MemorySurface(s, s, D3DFMT_X8R8G8B8));
        chainPixels += double(s) * s;
        chainBytes += size_t(s) * s * 4;
    }
    Report("7-level DIB chain -> X8R8G8B8", [&] {
        for (size_t i = 0; i < chain.size(); ++i) {
            D3DXLoadSurfaceFromFileInMemory(levels[i], nullptr, nullptr, chain[i].data(),
                                            UINT(chain[i].size()), nullptr, D3DX_DEFAULT, 0,
                                            nullptr);
        }
    }, chainPixels, chainBytes);
    for (MemorySurface* level : levels) level->Release();
    return 0;
}
