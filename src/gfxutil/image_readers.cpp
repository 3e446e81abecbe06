// ReadImage: which reader reads a block of image bytes.
//
// The readers are asked in a fixed order and the first that recognises the data reads it.
// The BMP file reader strips the 14-byte file header and hands the rest to the DIB reader;
// the DIB reader comes last and takes whatever no other reader recognised (a bitmap
// resource has no file header). PPM, DDS, JPEG, PNG and TGA data is recognised so that it is
// never mistaken for a DIB, but this program ships no such images and does not decode them:
// such data is reported as invalid.
#include <cstring>

#include "gfxutil/image_reader.h"

namespace gfx {
namespace {

constexpr HRESULT kRefused = S_FALSE;   // a reader's "not mine"

bool StartsWith(const BYTE* data, uint64_t size, const char* text, uint64_t length) {
    return size >= length && std::memcmp(data, text, size_t(length)) == 0;
}

HRESULT ReadBmpFile(const BYTE* data, uint64_t size, LoadedImage& image) {
    if (size < 14 || data[0] != 'B' || data[1] != 'M') return kRefused;
    uint32_t fileSize = uint32_t(data[2]) | uint32_t(data[3]) << 8 | uint32_t(data[4]) << 16 |
                        uint32_t(data[5]) << 24;
    if (size < fileSize) return kRefused;
    image.fileFormat = D3DXIFF_BMP;
    return ReadDibImage(data + 14, size - 14, image);
}

bool IsPpm(const BYTE* data, uint64_t size) {
    return StartsWith(data, size, "P3", 2) || StartsWith(data, size, "P6", 2);
}

bool IsDds(const BYTE* data, uint64_t size) {
    return size >= 128 && StartsWith(data, size, "DDS ", 4);
}

// A JPEG stream opens with the start-of-image marker followed by another marker.
bool IsJpeg(const BYTE* data, uint64_t size) {
    return size >= 4 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

bool IsPng(const BYTE* data, uint64_t size) {
    return StartsWith(data, size, "\x89PNG\r\n\x1a\n", 8);
}

// The 18-byte TGA header: colour-map type 0 or 1, a known image type, a non-empty image
// and a pixel depth TGA defines.
bool IsTga(const BYTE* data, uint64_t size) {
    if (size <= 17) return false;
    BYTE mapType = data[1], imageType = data[2], depth = data[16];
    bool knownType = imageType == 1 || imageType == 2 || imageType == 3 || imageType == 9 ||
                     imageType == 10 || imageType == 11;
    uint32_t width = data[12] | data[13] << 8, height = data[14] | data[15] << 8;
    bool knownDepth = depth == 8 || depth == 15 || depth == 16 || depth == 24 || depth == 32;
    return mapType <= 1 && knownType && width > 0 && height > 0 && knownDepth;
}

bool IsUndecodedFormat(const BYTE* data, uint64_t size) {
    return IsPpm(data, size) || IsDds(data, size) || IsJpeg(data, size) ||
           IsPng(data, size) || IsTga(data, size);
}

void Describe(const LoadedImage& image, D3DXIMAGE_INFO* info) {
    if (!info) return;
    info->Width = image.width;
    info->Height = image.height;
    info->Depth = 1;
    info->MipLevels = 1;
    info->Format = image.format;
    info->ResourceType = D3DRTYPE_TEXTURE;
    info->ImageFileFormat = image.fileFormat;
}

}  // namespace

HRESULT ReadImage(const BYTE* data, uint64_t size, LoadedImage& image, D3DXIMAGE_INFO* info) {
    HRESULT hr = ReadBmpFile(data, size, image);
    if (hr == kRefused) {
        if (IsUndecodedFormat(data, size)) return D3DXERR_INVALIDDATA;
        image.fileFormat = D3DXIFF_DIB;
        hr = ReadDibImage(data, size, image);
    }
    if (SUCCEEDED(hr)) Describe(image, info);
    return hr;
}

}  // namespace gfx
