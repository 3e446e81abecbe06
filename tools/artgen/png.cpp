// PNG chunks with zlib's CRC-32; rows filtered with the Sub filter, then compressed by
// zlib.
#include "png.h"

#include <zlib.h>

namespace artgen {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body) {
    Put32(out, static_cast<std::uint32_t>(body.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    Put32(out, static_cast<std::uint32_t>(::crc32(0, out.data() + start, uInt(out.size() - start))));
}

// A zlib stream of the data; empty when zlib fails (it does so only without memory).
std::vector<std::uint8_t> Compress(const std::vector<std::uint8_t>& data, int level) {
    uLongf size = ::compressBound(uLong(data.size()));
    std::vector<std::uint8_t> out(size);
    if (::compress2(out.data(), &size, data.data(), uLong(data.size()), level) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

// The rows, each behind the Sub filter: each byte minus the same channel of the pixel to
// its left. (Choosing a filter per row by the least sum of bytes compressed the scene's
// pictures worse than this.)
std::vector<std::uint8_t> FilterRows(int width, int height, int channels,
                                     const std::vector<std::uint8_t>& pixels) {
    const std::size_t row = static_cast<std::size_t>(width) * channels;
    std::vector<std::uint8_t> filtered;
    filtered.reserve((row + 1) * height);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = pixels.data() + row * y;
        filtered.push_back(1);
        for (std::size_t i = 0; i < row; ++i)
            filtered.push_back(static_cast<std::uint8_t>(src[i] - (i >= std::size_t(channels) ? src[i - channels] : 0)));
    }
    return filtered;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, int channels,
                                    const std::vector<std::uint8_t>& pixels, int level) {
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<std::uint8_t> out(kSignature, kSignature + 8);
    std::vector<std::uint8_t> header;
    Put32(header, static_cast<std::uint32_t>(width));
    Put32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, static_cast<std::uint8_t>(channels == 4 ? 6 : 2), 0, 0, 0});
    Chunk(out, "IHDR", header);

    const std::vector<std::uint8_t> compressed = Compress(FilterRows(width, height, channels, pixels), level);
    if (compressed.empty()) return {};
    Chunk(out, "IDAT", compressed);
    Chunk(out, "IEND", {});
    return out;
}

}  // namespace artgen
