// Fixed-Huffman deflate with greedy LZ77 matching.
#include "deflate.h"

namespace artgen {

namespace {

constexpr int kWindow = 32768;
constexpr int kMaxMatch = 258;
constexpr int kMaxChain = 48;

constexpr int kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                 31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistBase[30] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                               193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void Bits(std::uint32_t value, int count) {  // least significant bit first
        for (int i = 0; i < count; ++i) {
            acc_ |= ((value >> i) & 1u) << used_;
            if (++used_ == 8) Flush();
        }
    }
    void Code(std::uint32_t code, int length) {  // Huffman codes go most significant bit first
        for (int i = length - 1; i >= 0; --i) Bits((code >> i) & 1u, 1);
    }
    void Finish() {
        if (used_ > 0) Flush();
    }

private:
    void Flush() {
        out_.push_back(static_cast<std::uint8_t>(acc_));
        acc_ = 0;
        used_ = 0;
    }
    std::vector<std::uint8_t>& out_;
    std::uint32_t acc_ = 0;
    int used_ = 0;
};

void Literal(BitWriter& w, int symbol) {
    if (symbol < 144) w.Code(0x30 + symbol, 8);
    else if (symbol < 256) w.Code(0x190 + symbol - 144, 9);
    else if (symbol < 280) w.Code(symbol - 256, 7);
    else w.Code(0xC0 + symbol - 280, 8);
}

void Match(BitWriter& w, int length, int distance) {
    int l = 28;
    while (kLengthBase[l] > length) --l;
    Literal(w, 257 + l);
    w.Bits(length - kLengthBase[l], kLengthExtra[l]);
    int d = 29;
    while (kDistBase[d] > distance) --d;
    w.Code(d, 5);
    w.Bits(distance - kDistBase[d], kDistExtra[d]);
}

std::uint32_t Hash(const std::vector<std::uint8_t>& d, std::size_t i) {
    return ((d[i] << 10) ^ (d[i + 1] << 5) ^ d[i + 2]) & 0x7FFF;
}

int MatchLength(const std::vector<std::uint8_t>& d, std::size_t a, std::size_t b) {
    int n = 0;
    while (n < kMaxMatch && b + n < d.size() && d[a + n] == d[b + n]) ++n;
    return n;
}

void Compress(const std::vector<std::uint8_t>& d, BitWriter& w) {
    std::vector<int> head(0x8000, -1), prev(d.size(), -1);
    auto insert = [&](std::size_t i) {
        if (i + 2 >= d.size()) return;
        const std::uint32_t h = Hash(d, i);
        prev[i] = head[h];
        head[h] = static_cast<int>(i);
    };
    for (std::size_t i = 0; i < d.size();) {
        int bestLen = 0, bestDist = 0;
        if (i + 2 < d.size()) {
            int candidate = head[Hash(d, i)];
            for (int chain = 0; candidate >= 0 && chain < kMaxChain; ++chain) {
                if (static_cast<int>(i) - candidate > kWindow) break;
                const int len = MatchLength(d, static_cast<std::size_t>(candidate), i);
                if (len > bestLen) {
                    bestLen = len;
                    bestDist = static_cast<int>(i) - candidate;
                }
                candidate = prev[static_cast<std::size_t>(candidate)];
            }
        }
        if (bestLen >= 3) {
            Match(w, bestLen, bestDist);
            for (int k = 0; k < bestLen; ++k) insert(i + k);
            i += bestLen;
        } else {
            Literal(w, d[i]);
            insert(i);
            ++i;
        }
    }
}

}  // namespace

std::vector<std::uint8_t> ZlibCompress(const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    BitWriter w(out);
    w.Bits(1, 1);  // final block
    w.Bits(1, 2);  // fixed Huffman codes
    Compress(data, w);
    Literal(w, 256);
    w.Finish();
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const std::uint32_t adler = (b << 16) | a;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(adler >> shift));
    return out;
}

}  // namespace artgen
