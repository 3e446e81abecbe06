// Writing the still picture (PNG through zlib, or 24-bit BMP) and making it the desktop
// background.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// rgb: rows top first, 3 bytes per pixel. False when the file cannot be written.
bool WritePicture(const std::string& path, bool bmp, int width, int height,
                  const std::vector<std::uint8_t>& rgb);

// Makes the picture the current user's desktop background, for good (stored in the user's
// profile, all windows told). Every Windows version takes a BMP file, so a PNG picture is
// given as a BMP copy in the user's local application data folder. On failure returns
// false and says why in *error.
bool SetWallpaper(const std::string& path, bool bmp, int width, int height,
                  const std::vector<std::uint8_t>& rgb, std::string* error);
