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
    {0.00, {0.00, 0.00, 0.00}}, {0.30, {0.00, 0.00, 0.00}}, {0.55, {0.40, 0.09, 0.02}},
    {0.74, {0.86, 0.36, 0.07}}, {0.86, {1.00, 0.62, 0.22}}, {0.95, {1.00, 0.88, 0.64}},
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
