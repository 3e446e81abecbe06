// ReadDibImage: a device-independent bitmap into a LoadedImage.
//
// Sizes from the header are checked in 64-bit arithmetic before anything is read or
// allocated: the header, colour table and masks must lie inside the data, every pixel row of
// an uncompressed bitmap too, no side may exceed kMaxImageSide, and a decoded buffer may not
// exceed kMaxImageBytes (E_OUTOFMEMORY beyond it). The image starts at its top row: bitmaps
// of whole-byte pixels are read in place (a bottom-up one with a negative pitch), 1-bit,
// 4-bit and run-length bitmaps are decoded into a buffer of one byte per pixel.
#include <cstring>

#include "gfxutil/dib_format.h"
#include "gfxutil/image_reader.h"

namespace gfx {
namespace {

constexpr uint64_t kHeaderSize = 40;

uint64_t RoundUp4(uint64_t n) { return (n + 3) & ~uint64_t(3); }

struct DibLayout {
    uint64_t colours;      // colour-table entries
    uint64_t pixelOffset;  // where the pixels start
    uint64_t width, height;
    bool topDown;
    uint64_t srcRow, srcStride;   // bytes of one stored row, and from one to the next
    uint64_t imageRow, imagePitch;
};

HRESULT MeasureDib(const DibHeader& h, uint64_t size, DibLayout& l) {
    l.colours = h.colorsUsed;
    if (h.bitCount <= 8 && l.colours == 0) l.colours = uint64_t(1) << h.bitCount;
    l.pixelOffset = uint64_t(h.size) + 4 * l.colours;
    if (h.compression == BI_BITFIELDS && h.size < 108) l.pixelOffset += 12;
    if (l.pixelOffset > size || h.planes != 1) return E_FAIL;
    l.topDown = h.height < 0;
    if (l.topDown && h.compression != BI_RGB && h.compression != BI_BITFIELDS) return E_FAIL;
    if (h.width <= 0 || h.height == 0) return E_FAIL;
    l.width = uint64_t(h.width);
    l.height = l.topDown ? uint64_t(-int64_t(h.height)) : uint64_t(h.height);
    if (l.width > uint64_t(kMaxImageSide) || l.height > uint64_t(kMaxImageSide)) return E_FAIL;
    uint64_t bits = h.bitCount;
    l.srcRow = bits == 1 ? (l.width + 7) / 8 : bits == 4 ? (l.width + 1) / 2 : l.width * (bits / 8);
    l.srcStride = RoundUp4(l.srcRow);
    l.imageRow = bits <= 8 ? l.width : l.width * (bits / 8);
    l.imagePitch = RoundUp4(l.imageRow);
    return S_OK;
}

// Entries beyond the colour table are opaque white.
void ReadPalette(const BYTE* table, uint64_t colours, LoadedImage& image) {
    image.hasPalette = true;
    for (uint32_t i = 0; i < 256; ++i) {
        PALETTEENTRY& e = image.palette[i];
        if (i < colours) {
            e = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 255};
        } else {
            e = {255, 255, 255, 255};
        }
    }
}

void UnpackRow(const BYTE* src, BYTE* out, uint64_t width, uint16_t bits) {
    for (uint64_t x = 0; x < width; ++x) {
        if (bits == 1) {
            out[x] = (src[x / 8] >> (7 - x % 8)) & 1;
        } else if (bits == 4) {
            out[x] = (x & 1) ? (src[x / 2] & 0x0F) : (src[x / 2] >> 4);
        } else {
            out[x] = src[x];
        }
    }
}

// Uncompressed rows, already known to lie inside the data. Rows of whole bytes are read
// where they lie (walking backwards through a bottom-up bitmap); 1-bit and 4-bit rows are
// unpacked into the image's own buffer.
void ReadPlainRows(const BYTE* data, const DibHeader& h, const DibLayout& l,
                   LoadedImage& image) {
    const BYTE* first = data + l.pixelOffset;
    if (h.bitCount >= 8) {
        image.pixels = l.topDown ? first : first + l.srcStride * (l.height - 1);
        image.pitch = l.topDown ? int64_t(l.srcStride) : -int64_t(l.srcStride);
        return;
    }
    BYTE* out = image.ownedPixels.Data();
    for (uint64_t row = 0; row < l.height; ++row) {
        uint64_t target = l.topDown ? row : l.height - 1 - row;
        UnpackRow(first + row * l.srcStride, out + target * l.imagePitch, l.width, h.bitCount);
    }
    image.pixels = out;
}

bool RowsInside(const DibLayout& l, uint64_t size) {
    return l.pixelOffset + l.srcStride * (l.height - 1) + l.srcRow <= size;
}

bool NeedsBuffer(const DibHeader& h) {
    return h.bitCount < 8 || h.compression == BI_RLE8 || h.compression == BI_RLE4;
}

}  // namespace

HRESULT ReadDibImage(const BYTE* data, uint64_t size, LoadedImage& image) {
    if (size < kHeaderSize) return E_FAIL;
    DibHeader h = ParseDibHeader(data);
    if (h.size < kHeaderSize) return E_FAIL;
    DibLayout l;
    HRESULT hr = MeasureDib(h, size, l);
    if (FAILED(hr)) return hr;
    D3DFORMAT format;
    hr = DibPixelFormat(data, h, &format);
    if (FAILED(hr)) return hr;
    bool rle = h.compression == BI_RLE8 || h.compression == BI_RLE4;
    if (!rle && !RowsInside(l, size)) return E_FAIL;
    if (format == D3DFMT_P8) ReadPalette(data + h.size, l.colours, image);
    if (NeedsBuffer(h)) {
        uint64_t bytes = l.imagePitch * l.height;
        if (bytes > kMaxImageBytes || !image.ownedPixels.Allocate(bytes)) return E_OUTOFMEMORY;
        std::memset(image.ownedPixels.Data(), 0, size_t(bytes));
    }
    image.format = format;
    image.width = uint32_t(l.width);
    image.height = uint32_t(l.height);
    image.depth = 1;
    image.pitch = int64_t(l.imagePitch);
    if (rle) {
        auto decode = h.compression == BI_RLE8 ? DecodeRle8 : DecodeRle4;
        decode(data + l.pixelOffset, size - l.pixelOffset, image.ownedPixels.Data(),
               uint32_t(l.imagePitch), image.width, image.height);
        image.pixels = image.ownedPixels.Data();
        return S_OK;
    }
    ReadPlainRows(data, h, l, image);
    return S_OK;
}

}  // namespace gfx
