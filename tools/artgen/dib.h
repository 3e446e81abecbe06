// The bitmap files the resource compiler packs: a 14-byte file header, a 40-byte
// BITMAPINFOHEADER, 8 bits per pixel, BI_RGB, bottom-up rows, and a colour table of
// exactly as many entries as the palette has (biClrUsed says how many).
#pragma once

#include <cstdint>
#include <vector>

#include "quantize.h"

namespace artgen {

std::vector<std::uint8_t> EncodeBmpFile(const IndexedImage& image);

}  // namespace artgen
