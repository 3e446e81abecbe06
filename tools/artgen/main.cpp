// artgen: writes the scene's bitmaps, the icon, the resource script naming them and a
// contact sheet into the directory given on the command line. Runs at build time.
#include <cstdio>
#include <filesystem>

#include "art_set.h"

namespace {

bool WriteFile(const std::string& dir, const artgen::ArtFile& file) {
    if (file.bytes.empty()) return false;   // nothing made: never an empty file
    const std::string path = dir + "/" + file.name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(file.bytes.data(), 1, file.bytes.size(), f) == file.bytes.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen <output directory>\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(argv[1], error);
    const artgen::ArtSet art = artgen::GenerateArt();
    std::vector<artgen::ArtFile> files = artgen::ResourceFiles(art);
    files.push_back(artgen::ContactSheet(art));
    for (const artgen::ArtFile& file : files) {
        if (!WriteFile(argv[1], file)) {
            std::fprintf(stderr, "artgen: cannot write %s/%s\n", argv[1], file.name.c_str());
            return 1;
        }
    }
    return 0;
}
