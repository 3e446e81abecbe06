// PNG chunks with CRC-32; rows filtered with the Sub filter before compression.
#include "png.h"

#include <cstring>

#include "deflate.h"

namespace artgen {

namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body) {
    Put32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> out(kSignature, kSignature + 8);
    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, static_cast<std::uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
    Chunk(out, "IHDR", header);

    const std::size_t row = static_cast<std::size_t>(width) * channels;
    std::vector<std::uint8_t> filtered;
    filtered.reserve((row + 1) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = pixels.data() + row * y;
        filtered.push_back(1);  // Sub: each byte minus the same channel of the pixel to its left
        for (std::size_t i = 0; i < row; ++i)
            filtered.push_back(static_cast<std::uint8_t>(src[i] - (i >= std::size_t(channels) ? src[i - channels] : 0)));
    }
    Chunk(out, "IDAT", ZlibCompress(filtered));
    Chunk(out, "IEND", {});
    return out;
}

}  // namespace artgen
