// The cloud layer: grey wisps on black, streaked along v (the direction they drift in),
// with fine fibres inside. Black means "nothing added" where the layer is drawn additively.
#include "noise.h"
#include "paint.h"

namespace artgen {

namespace {

const FbmParams kStreaks{5, 2, 6, 0.55, 51};
const FbmParams kWarpU{3, 3, 4, 0.5, 53};
const FbmParams kWarpV{2, 2, 4, 0.5, 57};
const FbmParams kFibres{24, 4, 3, 0.5, 61};

Rgb CloudPixel(double u, double v) {
    const double wu = u + 0.10 * (Fbm(u, v, kWarpU) - 0.5);
    const double wv = v + 0.20 * (Fbm(u, v, kWarpV) - 0.5);
    const double d = Fbm(wu, wv, kStreaks);
    const double body = Smoothstep(0.50, 0.72, d);
    if (body <= 0) return {};
    const double fibre = Fbm(wu, wv, kFibres);
    const double w = body * body * (0.65 + 0.7 * (fibre - 0.5) + 0.35 * Smoothstep(0.6, 0.8, d));
    return Bytes(236, 240, 248) * Clamp01(w * 0.55);
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
