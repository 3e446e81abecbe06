// The bitmap table, the generation of every level and the resource script.
#include "art_set.h"

#include "dib.h"
#include "paint.h"

namespace artgen {

namespace {

constexpr int kFullSize = 256;
constexpr int kChainLevels = 7;

// Each level of a chain is the area average of the full-size drawing, quantized on its own.
void AddChain(std::vector<IndexedImage>& out, const Image& full, std::size_t first) {
    const auto& table = ArtBitmaps();
    for (int level = 0; level < kChainLevels; ++level) {
        const ArtBitmap& entry = table[first + level];
        const Image scaled = entry.size == full.width ? full : AreaDownscale(full, entry.size, entry.size);
        out.push_back(Quantize(scaled, entry.colours));
    }
}

// The glow's palette is its own ramp, sampled evenly; every row takes the nearest step.
IndexedImage GlowBitmap(const ArtBitmap& entry) {
    std::vector<Rgb8> ramp;
    for (int i = 0; i < entry.colours; ++i) {
        const Rgb c = GlowColour(static_cast<double>(i) / (entry.colours - 1));
        ramp.push_back({ToByte(c.r), ToByte(c.g), ToByte(c.b)});
    }
    return MapToPalette(PaintGlow(entry.size), ramp);
}

}  // namespace

const std::vector<ArtBitmap>& ArtBitmaps() {
    static const std::vector<ArtBitmap> table = {
        {121, "IDB_SKY_256", "sky_256.bmp", 256, 256},
        {122, "IDB_SKY_128", "sky_128.bmp", 128, 256},
        {123, "IDB_SKY_64", "sky_64.bmp", 64, 256},
        {124, "IDB_SKY_32", "sky_32.bmp", 32, 256},
        {125, "IDB_SKY_16", "sky_16.bmp", 16, 166},
        {126, "IDB_SKY_8", "sky_8.bmp", 8, 60},
        {127, "IDB_SKY_4", "sky_4.bmp", 4, 17},
        {128, "IDB_CLOUDS_256", "clouds_256.bmp", 256, 72},
        {129, "IDB_CLOUDS_128", "clouds_128.bmp", 128, 72},
        {130, "IDB_CLOUDS_64", "clouds_64.bmp", 64, 80},
        {131, "IDB_CLOUDS_32", "clouds_32.bmp", 32, 64},
        {132, "IDB_CLOUDS_16", "clouds_16.bmp", 16, 43},
        {133, "IDB_CLOUDS_8", "clouds_8.bmp", 8, 22},
        {134, "IDB_CLOUDS_4", "clouds_4.bmp", 4, 11},
        {114, "IDB_STONE_256", "stone_256.bmp", 256, 256},
        {135, "IDB_STONE_128", "stone_128.bmp", 128, 256},
        {115, "IDB_STONE_64", "stone_64.bmp", 64, 256},
        {117, "IDB_STONE_32", "stone_32.bmp", 32, 256},
        {118, "IDB_STONE_16", "stone_16.bmp", 16, 153},
        {119, "IDB_STONE_8", "stone_8.bmp", 8, 50},
        {120, "IDB_STONE_4", "stone_4.bmp", 4, 15},
        {136, "IDB_GLOW", "glow_32.bmp", 32, 160},
    };
    return table;
}

ArtSet GenerateArt() {
    ArtSet art;
    art.sky = PaintSky(kFullSize);
    art.clouds = PaintClouds(kFullSize);
    art.stone = PaintStone(kFullSize);
    AddChain(art.bitmaps, art.sky, 0);
    AddChain(art.bitmaps, art.clouds, kChainLevels);
    AddChain(art.bitmaps, art.stone, 2 * kChainLevels);
    art.bitmaps.push_back(GlowBitmap(ArtBitmaps()[3 * kChainLevels]));
    // 16 and 32 pixels with what Windows takes for them at 125, 150 and 200 % (20, 24, 32 and
    // 40, 48, 64), and 256 for the largest views; each size drawn at its own resolution.
    for (int size : {16, 20, 24, 32, 40, 48, 64, 256})
        art.icons.push_back(RenderIcon(size, art.sky, art.stone));
    return art;
}

std::vector<ArtFile> ResourceFiles(const ArtSet& art) {
    std::vector<ArtFile> files;
    std::string rc =
        "// Made by the art generator at build time: the icon and the scene's bitmaps.\n"
        "// The identifiers come from resource_ids.h, which the including script reads first.\n"
        "IDI_CIRRANE ICON \"cirrane.ico\"\n";
    const auto& table = ArtBitmaps();
    for (std::size_t i = 0; i < table.size(); ++i) {
        files.push_back({table[i].file, EncodeBmpFile(art.bitmaps[i])});
        rc += std::string(table[i].symbol) + " BITMAP \"" + table[i].file + "\"\n";
    }
    files.push_back({"cirrane.ico", EncodeIco(art.icons)});
    files.push_back({"art.rc", std::vector<std::uint8_t>(rc.begin(), rc.end())});
    return files;
}

}  // namespace artgen
