// Full-precision pictures of the art generator: an RGB image of doubles, the area-average
// downscale that makes every smaller mip level from the full-size drawing, and wrapped
// bilinear sampling (used where one picture is drawn onto another, as on the icon's cube).
#pragma once

#include <vector>

#include "color.h"

namespace artgen {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;  // row 0 is the top row

    Image() = default;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {}
    Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Averages whole blocks of source pixels; the source size must be a multiple of the target.
Image AreaDownscale(const Image& source, int width, int height);

// Bilinear sample at (u, v) in texture units (0..1 spans the picture), repeating.
Rgb SampleWrapped(const Image& image, double u, double v);

}  // namespace artgen
