// The program's icon: the bevelled stone cube hovering over the sky, on a square with
// rounded corners. Rendered by casting rays at a rounded box, several rays per pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace artgen {

struct IconImage {
    int size = 0;
    std::vector<std::uint8_t> rgba;  // rows top first, straight (not premultiplied) alpha
};

IconImage RenderIcon(int size, const Image& sky, const Image& stone);

// One .ico holding every image: the small ones as 32-bit DIBs with their AND masks, the
// 256-pixel one (if any) as PNG.
std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images);

}  // namespace artgen
