// 8-bit BI_RGB bitmap files, written field by field in little-endian order.
#include "dib.h"

#include "bytes.h"

namespace artgen {

std::vector<std::uint8_t> EncodeBmpFile(const IndexedImage& image) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(image.width) + 3u) & ~3u;
    const std::uint32_t colours = static_cast<std::uint32_t>(image.palette.size());
    const std::uint32_t pixelOffset = 14 + 40 + 4 * colours;
    const std::uint32_t imageSize = stride * static_cast<std::uint32_t>(image.height);
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    Put32(out, pixelOffset + imageSize);
    Put32(out, 0);
    Put32(out, pixelOffset);
    Put32(out, 40);                                        // biSize
    Put32(out, static_cast<std::uint32_t>(image.width));   // biWidth
    Put32(out, static_cast<std::uint32_t>(image.height));  // biHeight > 0: bottom-up
    Put16(out, 1);                                         // biPlanes
    Put16(out, 8);                                         // biBitCount
    Put32(out, 0);                                         // biCompression: BI_RGB
    Put32(out, imageSize);                                 // biSizeImage
    Put32(out, 2835);                                      // 72 dpi
    Put32(out, 2835);
    Put32(out, colours);                                   // biClrUsed
    Put32(out, 0);                                         // biClrImportant: all
    for (const Rgb8& c : image.palette) {
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.indices.data() + static_cast<std::size_t>(y) * image.width;
        out.insert(out.end(), row, row + image.width);
        out.insert(out.end(), stride - static_cast<std::uint32_t>(image.width), 0);
    }
    return out;
}

}  // namespace artgen
