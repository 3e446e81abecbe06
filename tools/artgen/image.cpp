// Area-average downscale and wrapped bilinear sampling of full-precision pictures.
#include "image.h"

#include <cmath>

namespace artgen {

Image AreaDownscale(const Image& source, int width, int height) {
    Image out(width, height);
    const int bw = source.width / width;
    const int bh = source.height / height;
    const double scale = 1.0 / (bw * bh);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Rgb sum;
            for (int j = 0; j < bh; ++j)
                for (int i = 0; i < bw; ++i) sum = sum + source.At(x * bw + i, y * bh + j);
            out.At(x, y) = sum * scale;
        }
    }
    return out;
}

static int Wrap(int v, int n) {
    int m = v % n;
    return m < 0 ? m + n : m;
}

Rgb SampleWrapped(const Image& image, double u, double v) {
    const double fx = u * image.width - 0.5;
    const double fy = v * image.height - 0.5;
    const double x0 = std::floor(fx);
    const double y0 = std::floor(fy);
    const double tx = fx - x0;
    const double ty = fy - y0;
    const int ix = static_cast<int>(x0);
    const int iy = static_cast<int>(y0);
    const Rgb& a = image.At(Wrap(ix, image.width), Wrap(iy, image.height));
    const Rgb& b = image.At(Wrap(ix + 1, image.width), Wrap(iy, image.height));
    const Rgb& c = image.At(Wrap(ix, image.width), Wrap(iy + 1, image.height));
    const Rgb& d = image.At(Wrap(ix + 1, image.width), Wrap(iy + 1, image.height));
    return Mix(Mix(a, b, tx), Mix(c, d, tx), ty);
}

}  // namespace artgen
