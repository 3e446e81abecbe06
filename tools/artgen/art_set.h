// Everything the generator makes, in memory: the 22 bitmaps of the scene (three 7-level
// chains and the glow), the icon, the resource script that names them and the contact
// sheet. The tool writes these files; the tests compare them with what the program holds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "icon.h"
#include "quantize.h"

namespace artgen {

// One bitmap resource: its identifier, the name resource_ids.h gives it, its file.
struct ArtBitmap {
    int id;
    const char* symbol;
    const char* file;
    int size;     // square
    int colours;  // entries in its colour table
};

// The 22 bitmaps, chain by chain, largest level first (sky, clouds, stone, then the glow).
const std::vector<ArtBitmap>& ArtBitmaps();

struct ArtSet {
    std::vector<IndexedImage> bitmaps;  // in the order of ArtBitmaps()
    std::vector<IconImage> icons;       // 16, 20, 24, 32, 40, 48, 64 and 256 pixels
    Image sky, clouds, stone;           // the full-size drawings the chains come from
};

ArtSet GenerateArt();

struct ArtFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The bitmap files, "cirrane.ico" and "art.rc" (everything the resource compiler reads).
std::vector<ArtFile> ResourceFiles(const ArtSet& art);

// "contact_sheet.png": every level of every chain, the glow and the icons, labelled with
// their identifiers, and previews of how the scene blends them.
ArtFile ContactSheet(const ArtSet& art);

}  // namespace artgen
