// PNG encoding of 8-bit RGB or RGBA pictures (the contact sheet and the icon's large size).
#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

// pixels: rows top first, channels (3 or 4) bytes per pixel, no padding. level: zlib's
// compression level, 1 (fastest) to 9 (smallest). Empty when the picture cannot be
// compressed (no memory).
std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels, int level = 9);

}  // namespace artgen
