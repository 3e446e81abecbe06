// Colour quantization: turns a full-precision picture into an 8-bit palettized one with a
// palette of exactly the requested size. Median cut (boxes split where the variance along
// their widest axis drops most) seeds the palette, a few rounds of k-means refine it, and
// every pixel takes its nearest palette colour. Deterministic: no randomness, and ties are
// broken by index.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace artgen {

struct Rgb8 {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<Rgb8> palette;           // exactly the size asked for
    std::vector<std::uint8_t> indices;   // row 0 is the top row
};

IndexedImage Quantize(const Image& image, int colours);

// Maps every pixel to its nearest colour of a palette given by the caller.
IndexedImage MapToPalette(const Image& image, const std::vector<Rgb8>& palette);

// The picture an indexed image shows, back at full precision.
Image Expand(const IndexedImage& image);

}  // namespace artgen
