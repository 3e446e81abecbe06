// The stone: a 4 x 4 grid of marble tiles, pale ones around a darker grey 2 x 2 in the
// middle, set in thin joints with a slight bevel on each tile. Every tile is cut from its
// own piece of marble (its own offset into the noise and its own vein direction). The
// joints are split in half at the picture's borders, so repeated tiles line up.
#include <cmath>

#include "noise.h"
#include "paint.h"

namespace artgen {

namespace {

constexpr int kTiles = 4;

struct Marble {
    Rgb base0, base1;  // cloudy body, from dark patches to light ones
    Rgb vein;
    double veinStrength;
};

const Marble kPale{Bytes(206, 202, 195), Bytes(238, 236, 230), Bytes(126, 124, 128), 0.75};
const Marble kDark{Bytes(84, 87, 94), Bytes(122, 125, 132), Bytes(196, 197, 202), 0.6};
const Rgb kJoint = Bytes(70, 68, 66);

struct Tile {
    double offU, offV;  // where in the noise this tile was cut
    double dirU, dirV;  // direction across the main veins
    bool dark;
};

Tile TileAt(int tx, int ty) {
    const std::uint32_t h = Hash3(static_cast<std::uint32_t>(tx), static_cast<std::uint32_t>(ty), 77);
    static const double kDirs[4][2] = {{0.8, 0.6}, {0.6, -0.8}, {-0.28, 0.96}, {0.96, 0.28}};
    const double* dir = kDirs[(h >> 16) & 3];
    const bool dark = (tx == 1 || tx == 2) && (ty == 1 || ty == 2);
    return {(h & 255) / 256.0, ((h >> 8) & 255) / 256.0, dir[0], dir[1], dark};
}

// Marble at (lu, lv) inside a tile (0..1 each way).
Rgb MarbleAt(const Tile& tile, double lu, double lv) {
    const std::uint32_t seed = static_cast<std::uint32_t>(tile.offU * 256) * 7 + 5;
    const FbmParams body{3, 3, 5, 0.5, 301 + seed};
    const FbmParams turbulence{2, 2, 5, 0.55, 401 + seed};
    const FbmParams fine{5, 5, 4, 0.5, 501 + seed};
    const double u = 0.5 * lu + tile.offU;
    const double v = 0.5 * lv + tile.offV;
    const Marble& m = tile.dark ? kDark : kPale;
    Rgb colour = Mix(m.base0, m.base1, Smoothstep(0.3, 0.7, Fbm(u, v, body)));
    // Main veins: a triangle wave across the tile, bent by turbulence.
    const double s = 1.3 * (lu * tile.dirU + lv * tile.dirV) + 1.6 * Fbm(u, v, turbulence);
    const double phase = s - std::floor(s);
    const double crest = 1 - std::fabs(2 * phase - 1);
    const double crest4 = crest * crest * crest * crest;
    const double crest16 = crest4 * crest4 * crest4 * crest4;
    // Faint secondary veins: where a second noise crosses its middle.
    const double hair = Ridge(u, v, fine);
    const double hair4 = hair * hair * hair * hair;
    const double vein = Clamp01(crest16 * 0.85 + crest4 * 0.18 + hair4 * hair4 * 0.3);
    return Mix(colour, m.vein, vein * m.veinStrength);
}

// Joint and bevel: e is the distance to the tile's nearest border in 1/64ths of a tile.
Rgb Finish(Rgb colour, double lu, double lv, double tileSize) {
    const double left = lu * tileSize, right = (1 - lu) * tileSize;
    const double top = lv * tileSize, bottom = (1 - lv) * tileSize;
    const double scale = 64.0 / tileSize;
    double e = left;
    double light = 1;  // top and left bevels catch the light, bottom and right ones do not
    if (top < e) e = top;
    if (right < e) {
        e = right;
        light = -1;
    }
    if (bottom < e) {
        e = bottom;
        light = -1;
    }
    e *= scale;
    const double bevel = 1 - Smoothstep(1.5, 4.5, e);
    colour = Clamp01(colour * (1 + 0.13 * light * bevel));
    return Mix(kJoint, colour, Smoothstep(0.6, 1.6, e));
}

}  // namespace

Image PaintStone(int size) {
    Image out(size, size);
    const double tileSize = static_cast<double>(size) / kTiles;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double fu = (x + 0.5) / tileSize, fv = (y + 0.5) / tileSize;
            const int tx = static_cast<int>(fu), ty = static_cast<int>(fv);
            const double lu = fu - tx, lv = fv - ty;
            out.At(x, y) = Finish(MarbleAt(TileAt(tx, ty), lu, lv), lu, lv, tileSize);
        }
    }
    return out;
}

}  // namespace artgen
