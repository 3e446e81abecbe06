// The cloud layer: grey wisps on black, like high cirrus. Long fibres run along v (the
// direction the layer drifts in), bent by a slow warp and gathered into patches by a
// coarse mask. Black means "nothing added" where the layer is drawn additively.
#include "noise.h"
#include "paint.h"

namespace artgen {

namespace {

const FbmParams kPatches{4, 2, 5, 0.5, 51};
const FbmParams kFibres{8, 2, 4, 0.5, 61};
const FbmParams kWarpU{2, 2, 4, 0.5, 53};
const FbmParams kWarpV{2, 2, 4, 0.5, 57};

Rgb CloudPixel(double u, double v) {
    const double wu = u + 0.16 * (Fbm(u, v, kWarpU) - 0.5);
    const double wv = v + 0.10 * (Fbm(u, v, kWarpV) - 0.5);
    const double patch = Smoothstep(0.42, 0.66, Fbm(u, v, kPatches));
    if (patch <= 0) return {};
    // Fibres: crests of a noise stretched four times along v, sharpened.
    double fibre = Ridge(wu, wv, kFibres);
    fibre *= fibre * fibre;
    const double haze = Smoothstep(0.3, 0.75, Fbm(wu, wv, kFibres));
    const double w = patch * patch * (0.45 * haze + 0.55 * fibre);
    return Bytes(232, 236, 246) * Clamp01(0.95 * w);
}

}  // namespace

Image PaintClouds(int size) {
    Image out(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            out.At(x, y) = CloudPixel((x + 0.5) / size, (y + 0.5) / size);
    return out;
}

}  // namespace artgen
