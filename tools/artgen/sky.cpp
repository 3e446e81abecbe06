// The outer sky: a deep blue that varies slowly, with white cumulus puffs lit from one side.
#include <cstdint>

#include "noise.h"
#include "paint.h"

namespace artgen {

namespace {

const FbmParams kTone{2, 2, 4, 0.5, 11};
const FbmParams kPuffs{4, 4, 6, 0.5, 23};
const FbmParams kWarpU{3, 3, 3, 0.5, 37};
const FbmParams kWarpV{3, 3, 3, 0.5, 41};

double PuffDensity(double u, double v) {
    const double wu = u + 0.08 * (Fbm(u, v, kWarpU) - 0.5);
    const double wv = v + 0.08 * (Fbm(u, v, kWarpV) - 0.5);
    return Fbm(wu, wv, kPuffs);
}

Rgb SkyPixel(double u, double v) {
    const double tone = Smoothstep(0.3, 0.7, Fbm(u, v, kTone));
    const Rgb blue = Mix(Bytes(14, 44, 122), Bytes(34, 84, 172), tone);
    const double d = PuffDensity(u, v);
    const double cover = Smoothstep(0.53, 0.66, d);
    if (cover <= 0) return blue;
    // Lit from the upper left: brighter where the density rises towards the light.
    const double towardsLight = PuffDensity(u - 0.01, v - 0.01);
    const double lit = Clamp01(0.55 + 9 * (towardsLight - d));
    const double core = Smoothstep(0.6, 0.8, d);
    Rgb white = Mix(Bytes(176, 192, 222), Bytes(252, 253, 255), lit);
    white = Mix(white, white * Bytes(225, 230, 242), core * 0.5);
    return Mix(blue, white, cover);
}

}  // namespace

Image PaintSky(int size) {
    Image out(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.At(x, y) = SkyPixel((x + 0.5) / size, (y + 0.5) / size);
    return out;
}

}  // namespace artgen
