// Run-length decoding of 8-bit and 4-bit DIBs.
//
// The stream is a sequence of two-byte codes. A non-zero count repeats the next byte (in
// 4-bit bitmaps its two nibbles alternate, high first). A zero count is an escape: 0 ends
// the line, 1 ends the bitmap, 2 moves right and up by the next two bytes, and any larger
// value copies that many literal pixels, padded to an even number of bytes. Lines run from
// the bottom of the image up. Pixels outside the image are dropped, so a malformed stream
// can leave parts unset but never writes outside the buffer.
#include "gfxutil/image_reader.h"

namespace gfx {
namespace {

class RleCanvas {
public:
    RleCanvas(BYTE* out, uint32_t pitch, uint32_t width, uint32_t height)
        : out_(out), pitch_(pitch), width_(width), height_(height) {}

    void Put(BYTE value) {
        if (x_ < width_ && line_ < height_) {
            out_[uint64_t(height_ - 1 - line_) * pitch_ + x_] = value;
        }
        ++x_;
    }
    void EndLine() {
        x_ = 0;
        ++line_;
    }
    void Move(BYTE dx, BYTE dy) {
        x_ += dx;
        line_ += dy;
    }
    bool Full() const { return line_ >= height_; }

private:
    BYTE* out_;
    uint64_t pitch_, width_, height_;
    uint64_t x_ = 0, line_ = 0;
};

// Copies a literal run of count pixels starting at stream[pos]; returns the position after
// its padding.
uint64_t CopyLiteral(const BYTE* stream, uint64_t size, uint64_t pos, uint32_t count,
                     bool nibbles, RleCanvas& canvas) {
    uint64_t bytes = nibbles ? (uint64_t(count) + 1) / 2 : count;
    for (uint32_t k = 0; k < count; ++k) {
        uint64_t at = pos + (nibbles ? k / 2 : k);
        if (at >= size) break;
        BYTE b = stream[at];
        canvas.Put(nibbles ? BYTE((k & 1) ? (b & 0x0F) : (b >> 4)) : b);
    }
    return pos + bytes + (bytes & 1);
}

void DecodeRle(const BYTE* stream, uint64_t size, bool nibbles, RleCanvas& canvas) {
    uint64_t pos = 0;
    while (pos + 1 < size && !canvas.Full()) {
        BYTE count = stream[pos];
        BYTE value = stream[pos + 1];
        pos += 2;
        if (count > 0) {
            for (uint32_t k = 0; k < count; ++k) {
                canvas.Put(nibbles ? BYTE((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            }
        } else if (value == 0) {
            canvas.EndLine();
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (pos + 1 >= size) return;
            canvas.Move(stream[pos], stream[pos + 1]);
            pos += 2;
        } else {
            pos = CopyLiteral(stream, size, pos, value, nibbles, canvas);
        }
    }
}

}  // namespace

void DecodeRle8(const BYTE* stream, uint64_t size, BYTE* out, uint32_t pitch, uint32_t width,
                uint32_t height) {
    RleCanvas canvas(out, pitch, width, height);
    DecodeRle(stream, size, false, canvas);
}

void DecodeRle4(const BYTE* stream, uint64_t size, BYTE* out, uint32_t pitch, uint32_t width,
                uint32_t height) {
    RleCanvas canvas(out, pitch, width, height);
    DecodeRle(stream, size, true, canvas);
}

}  // namespace gfx
