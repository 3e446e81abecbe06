// The still picture's files and the desktop background. PNG encoding is the art
// generator's (zlib compression); the BMP is written here, bottom-up with padded rows.
#include "picture_files.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "png.h"

namespace {

std::vector<std::uint8_t> EncodeBmp(int width, int height, const std::vector<std::uint8_t>& rgb) {
    const DWORD stride = (DWORD(width) * 3 + 3) & ~3u;
    const DWORD offset = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file = {0x4D42, offset + stride * height, 0, 0, offset};
    const BITMAPINFOHEADER info = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB,
                                   stride * height, 2835, 2835, 0, 0};   // 72 dots per inch
    std::vector<std::uint8_t> out(offset + size_t(stride) * height, 0);
    std::memcpy(out.data(), &file, sizeof(file));
    std::memcpy(out.data() + sizeof(file), &info, sizeof(info));
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = rgb.data() + size_t(height - 1 - y) * width * 3;
        std::uint8_t* bgr = out.data() + offset + size_t(y) * stride;
        for (int x = 0; x < width; ++x, source += 3, bgr += 3) {
            bgr[0] = source[2];
            bgr[1] = source[1];
            bgr[2] = source[0];
        }
    }
    return out;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

// <local application data>\Cirrane\Wallpaper.bmp, its folder made if missing.
bool WallpaperCopyPath(std::string* path) {
    char folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr,
                                  SHGFP_TYPE_CURRENT, folder)))
        return false;
    *path = std::string(folder) + "\\Cirrane";
    if (!::CreateDirectoryA(path->c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return false;
    *path += "\\Wallpaper.bmp";
    return true;
}

}  // namespace

bool WritePicture(const std::string& path, bool bmp, int width, int height,
                  const std::vector<std::uint8_t>& rgb) {
    if (bmp) return WriteBytes(path, EncodeBmp(width, height, rgb));
    // zlib's best compression takes about eight times as long as its default, for a tenth
    // less: beyond full HD the default is used.
    const int level = std::int64_t(width) * height <= 1920 * 1080 ? 9 : 6;
    return WriteBytes(path, artgen::EncodePng(width, height, 3, rgb, level));
}

bool SetWallpaper(const std::string& path, bool bmp, int width, int height,
                  const std::vector<std::uint8_t>& rgb, std::string* error) {
    std::string wallpaper;
    if (bmp) {
        char full[MAX_PATH] = {};
        const DWORD length = ::GetFullPathNameA(path.c_str(), sizeof(full), full, nullptr);
        if (length == 0 || length >= sizeof(full)) {
            *error = "cannot find the full path of " + path;
            return false;
        }
        wallpaper = full;
    } else if (!WallpaperCopyPath(&wallpaper) ||
               !WriteBytes(wallpaper, EncodeBmp(width, height, rgb))) {
        *error = "cannot write the wallpaper's BMP copy " + wallpaper;
        return false;
    }
    if (!::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(wallpaper.c_str()),
                                 SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE)) {
        *error = "the desktop did not take " + wallpaper + " as its background";
        return false;
    }
    return true;
}
