// zlib streams for the PNG writer: LZ77 with hash chains, coded with the fixed Huffman
// tables of deflate in one block, wrapped with the zlib header and Adler-32 checksum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace artgen {

std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& data);

}  // namespace artgen
