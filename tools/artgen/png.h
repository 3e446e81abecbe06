// PNG encoding of 8-bit RGB or RGBA pictures (the contact sheet and the icon's large size).
#pragma once

#include <cstdint>
#include <vector>

namespace artgen {

// pixels: rows top first, channels (3 or 4) bytes per pixel, no padding.
std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels);

}  // namespace artgen
