// The horizon glow: a vertical ramp from black through embers and orange to white. The
// scene adds the square of this colour, so the ramp is brighter here than it looks there.
#include "paint.h"

namespace artgen {

namespace {

struct Key {
    double t;
    Rgb colour;
};

const Key kRamp[] = {
    {0.00, {0.00, 0.00, 0.00}}, {0.16, {0.00, 0.00, 0.00}}, {0.42, {0.42, 0.10, 0.02}},
    {0.64, {0.88, 0.38, 0.07}}, {0.80, {1.00, 0.64, 0.24}}, {0.92, {1.00, 0.87, 0.62}},
    {1.00, {1.00, 1.00, 1.00}},
};

}  // namespace

Rgb GlowColour(double t) {
    t = Clamp01(t);
    for (std::size_t i = 1; i < sizeof(kRamp) / sizeof(kRamp[0]); ++i) {
        if (t <= kRamp[i].t) {
            const double s = (t - kRamp[i - 1].t) / (kRamp[i].t - kRamp[i - 1].t);
            return Mix(kRamp[i - 1].colour, kRamp[i].colour, s * s * (3 - 2 * s));
        }
    }
    return kRamp[sizeof(kRamp) / sizeof(kRamp[0]) - 1].colour;
}

Image PaintGlow(int size) {
    Image out(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) out.At(x, y) = GlowColour((y + 0.5) / size);
    return out;
}

}  // namespace artgen
