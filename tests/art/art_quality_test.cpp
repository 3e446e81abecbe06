// What makes the textures work in the scene, on the shipped bitmaps: mip levels agree, sky,
// clouds and stone tiles wrap seamlessly, and the glow as loaded runs from dark to bright.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "art_resources.h"
#include "doubles/memory_surface.h"
#include "gfxutil/d3dx_surface.h"

using namespace arttest;

namespace {

// Mean absolute step over the channels between column (or row) c and c + 1, wrapping.
double Step(const Picture& p, int c, bool rows) {
    const int n = p.size;
    double sum = 0;
    for (int k = 0; k < n; ++k) {
        const int* a = rows ? p.At(k, c) : p.At(c, k);
        const int* b = rows ? p.At(k, (c + 1) % n) : p.At((c + 1) % n, k);
        for (int ch = 0; ch < 3; ++ch) sum += std::abs(a[ch] - b[ch]);
    }
    return sum / (3.0 * n);
}

double Percentile90(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[(v.size() - 1) * 9 / 10];
}

}  // namespace

TEST(ShippedArt, SmallerLevelsAreAreaAveragesOfTheLevelAbove) {
    for (int c = 0; c < 3; ++c) {
        const std::vector<Level> chain = Chain(c);
        for (size_t k = 1; k < chain.size(); ++k) {
            SCOPED_TRACE(chain[k].id);
            const Picture big = LoadPicture(chain[k - 1].id);
            const Picture small = LoadPicture(chain[k].id);
            ASSERT_EQ(big.size, 2 * small.size);
            double total = 0, worst = 0;
            for (int y = 0; y < small.size; ++y) {
                for (int x = 0; x < small.size; ++x) {
                    for (int ch = 0; ch < 3; ++ch) {
                        const double mean = (big.At(2 * x, 2 * y)[ch] + big.At(2 * x + 1, 2 * y)[ch] +
                                             big.At(2 * x, 2 * y + 1)[ch] + big.At(2 * x + 1, 2 * y + 1)[ch]) / 4.0;
                        const double error = std::abs(mean - small.At(x, y)[ch]);
                        total += error;
                        worst = std::max(worst, error);
                    }
                }
            }
            EXPECT_LE(total / (3.0 * small.size * small.size), 1.5);
            EXPECT_LE(worst, 12.0);
        }
    }
}

TEST(ShippedArt, SkyAndCloudsRepeatWithoutSeams) {
    for (int c = 0; c < 2; ++c) {
        for (const Level& level : Chain(c)) {
            if (level.size < 16) continue;
            SCOPED_TRACE(level.id);
            const Picture p = LoadPicture(level.id);
            for (bool rows : {false, true}) {
                std::vector<double> inner;
                for (int i = 0; i + 1 < p.size; ++i) inner.push_back(Step(p, i, rows));
                EXPECT_LE(Step(p, p.size - 1, rows), 1.25 * Percentile90(inner)) << (rows ? "rows" : "columns");
            }
        }
    }
}

TEST(ShippedArt, StoneTilesLineUpAcrossTheWrapEdge) {
    for (const Level& level : Chain(2)) {
        if (level.size < 16) continue;
        SCOPED_TRACE(level.id);
        const Picture p = LoadPicture(level.id);
        const int tile = p.size / 4;
        for (bool rows : {false, true}) {
            double joints = 0;
            for (int t = 1; t < 4; ++t) joints = std::max(joints, Step(p, t * tile - 1, rows));
            EXPECT_LE(Step(p, p.size - 1, rows), 1.25 * joints + 1) << (rows ? "rows" : "columns");
        }
    }
}

TEST(ShippedArt, GlowStretchesFromDarkTopToBrightBottom) {
    MemorySurface level(256, 256, D3DFMT_X8R8G8B8);
    ASSERT_EQ(D3DXLoadSurfaceFromResourceA(&level, nullptr, nullptr, nullptr, MAKEINTRESOURCEA(Glow().id),
                                           nullptr, D3DX_DEFAULT, 0, nullptr), D3D_OK);
    auto brightness = [&](UINT y) {
        const uint32_t c = level.Pixel(128, y);
        return int(c >> 16 & 255) + int(c >> 8 & 255) + int(c & 255);
    };
    // The band samples v = 0.11 .. 0.99, rows 28 .. 253; the default filter wraps, so the
    // rows at the very top and bottom borrow from each other and are left out.
    EXPECT_LT(brightness(28), 20);
    EXPECT_GT(brightness(248), 650);
    for (UINT y = 36; y <= 248; y += 8) EXPECT_GE(brightness(y) + 6, brightness(y - 8)) << y;
}
