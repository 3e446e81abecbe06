// The contact sheet: a PNG for people to look at. One row per chain (small levels
// magnified), then the glow and the icons, then previews blended the way the scene draws:
// the clouds added onto the sky (2 x 2 copies, to show the seams), the stone over that
// with source-colour blending, the glow's square added onto the sky; last, two views of
// the scene itself (the "Flying" camera at 0 s and at 8 s).
#include <string>

#include "art_set.h"
#include "paint.h"
#include "png.h"
#include "scene_preview.h"

namespace artgen {

namespace {

constexpr int kMargin = 16;
constexpr int kGap = 12;
constexpr int kLabelHeight = 18;
constexpr int kMinShown = 64;

class Sheet {
public:
    Sheet(int w, int h) : w_(w), h_(h), px_(static_cast<std::size_t>(w) * h * 3, 46) {}
    void Put(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        std::uint8_t* p = &px_[(static_cast<std::size_t>(y) * w_ + x) * 3];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    }
    void Put(int x, int y, const Rgb& c) { Put(x, y, ToByte(c.r), ToByte(c.g), ToByte(c.b)); }
    // Draws an image magnified by a whole factor (nearest neighbour).
    void Draw(int x0, int y0, const Image& image, int zoom) {
        for (int y = 0; y < image.height * zoom; ++y)
            for (int x = 0; x < image.width * zoom; ++x) Put(x0 + x, y0 + y, image.At(x / zoom, y / zoom));
    }
    void Draw(int x0, int y0, const IconImage& icon) {
        for (int y = 0; y < icon.size; ++y) {
            for (int x = 0; x < icon.size; ++x) {
                const std::uint8_t* p = &icon.rgba[(static_cast<std::size_t>(y) * icon.size + x) * 4];
                const double a = p[3] / 255.0;
                const Rgb back = Bytes(46, 46, 46);
                Put(x0 + x, y0 + y, Mix(back, Bytes(p[0], p[1], p[2]), a));
            }
        }
    }
    void Label(int x0, int y0, const std::string& text);
    ArtFile Png() const { return {"contact_sheet.png", EncodePng(w_, h_, 3, px_)}; }

private:
    int w_, h_;
    std::vector<std::uint8_t> px_;
};

// 3 x 5 glyphs for the digits and '+', drawn twice as large.
void Sheet::Label(int x0, int y0, const std::string& text) {
    static const char* kGlyphs[11] = {"111101101101111", "010110010010111", "111001111100111", "111001111001111",
                                      "101101111001001", "111100111001111", "111100111101111", "111001010010010",
                                      "111101111101111", "111101111001111", "000010111010000"};
    for (char ch : text) {
        const char* g = ch == '+' ? kGlyphs[10] : kGlyphs[ch - '0'];
        for (int i = 0; i < 15; ++i)
            if (g[i] == '1')
                for (int k = 0; k < 4; ++k) Put(x0 + (i % 3) * 2 + k % 2, y0 + (i / 3) * 2 + k / 2, 230, 230, 230);
        x0 += 8;
    }
}

Image SkyWithClouds(const ArtSet& art) {
    Image out = Expand(art.bitmaps[0]);
    const Image clouds = Expand(art.bitmaps[7]);
    for (std::size_t i = 0; i < out.pixels.size(); ++i) out.pixels[i] = Clamp01(out.pixels[i] + clouds.pixels[i]);
    return out;
}

Image Tiled(const Image& image) {
    Image out(image.width * 2, image.height * 2);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x) out.At(x, y) = image.At(x % image.width, y % image.height);
    return out;
}

// colour = source x source + source x destination, as the slab tops are drawn.
Image StoneOver(const Image& stone, const Image& under) {
    Image out(stone.width, stone.height);
    for (std::size_t i = 0; i < out.pixels.size(); ++i)
        out.pixels[i] = Clamp01(stone.pixels[i] * (stone.pixels[i] + under.pixels[i]));
    return out;
}

// The glow stretched (linearly) over the sky with its square added, as the horizon band is drawn.
Image GlowOver(const Image& glow, const Image& under) {
    Image out = under;
    for (int y = 0; y < out.height; ++y) {
        const double t = (y + 0.5) * glow.height / out.height - 0.5;
        const int row = t < 0 ? 0 : static_cast<int>(t);
        const int next = row + 1 < glow.height ? row + 1 : row;
        const Rgb g = Mix(glow.At(0, row), glow.At(0, next), t < 0 ? 0 : t - row);
        for (int x = 0; x < out.width; ++x) out.At(x, y) = Clamp01(out.At(x, y) + g * g);
    }
    return out;
}

PreviewTextures Textures(const ArtSet& art) {
    PreviewTextures t;
    for (int level = 0; level < 7; ++level) {
        t.sky.push_back(Expand(art.bitmaps[level]));
        t.clouds.push_back(Expand(art.bitmaps[7 + level]));
        t.stone.push_back(Expand(art.bitmaps[14 + level]));
    }
    t.glow = Expand(art.bitmaps[21]);
    return t;
}

}  // namespace

namespace {

constexpr int kRowHeight = 256 + kLabelHeight + kGap;
constexpr int kViewW = 384, kViewH = 288;

// Rows 1 to 3: the chains, each level labelled with its resource number.
void DrawChains(Sheet& sheet, const ArtSet& art) {
    const auto& table = ArtBitmaps();
    for (int chain = 0; chain < 3; ++chain) {
        int x = kMargin;
        const int y = kMargin + chain * kRowHeight;
        for (int level = 0; level < 7; ++level) {
            const std::size_t i = static_cast<std::size_t>(chain * 7 + level);
            const int zoom = table[i].size >= kMinShown ? 1 : kMinShown / table[i].size;
            sheet.Draw(x, y, Expand(art.bitmaps[i]), zoom);
            sheet.Label(x, y + table[i].size * zoom + 4, std::to_string(table[i].id));
            x += table[i].size * zoom + kGap;
        }
    }
}

// Row 4: the glow (four times as large) and the icon at every size.
void DrawGlowAndIcons(Sheet& sheet, const ArtSet& art, int y) {
    int x = kMargin;
    sheet.Draw(x, y, Expand(art.bitmaps[21]), 4);
    sheet.Label(x, y + 128 + 4, std::to_string(ArtBitmaps()[21].id));
    x += 128 + kGap;
    for (auto it = art.icons.rbegin(); it != art.icons.rend(); ++it) {
        sheet.Draw(x, y, *it);
        sheet.Label(x, y + it->size + 4, "101");
        x += it->size + kGap;
    }
}

// The blends, then the two views of the scene below them.
void DrawPreviews(Sheet& sheet, const ArtSet& art, int y) {
    const Image sky = SkyWithClouds(art);
    const int right = kMargin + 512 + kGap;
    sheet.Draw(kMargin, y, Tiled(sky), 1);
    sheet.Label(kMargin, y + 512 + 4, "121+128");
    sheet.Draw(right, y, StoneOver(Expand(art.bitmaps[14]), sky), 1);
    sheet.Label(right, y + 256 + 4, "114+121+128");
    sheet.Draw(right, y + 256 + kLabelHeight + 4, GlowOver(Expand(art.bitmaps[21]), sky), 1);
    const PreviewTextures textures = Textures(art);
    const int vy = y + 512 + kLabelHeight + kGap;
    sheet.Draw(kMargin, vy, PreviewScene(textures, {0, 0.5, 2}, {0, 0.5, 0}, kViewW, kViewH), 1);
    sheet.Draw(kMargin + kViewW + kGap, vy,
               PreviewScene(textures, {0.99957, 1.32682, -0.05840}, {0, 0.68920, 0}, kViewW, kViewH), 1);
}

}  // namespace

ArtFile ContactSheet(const ArtSet& art) {
    Sheet sheet(2 * kMargin + 256 + 128 + 5 * kMinShown + 6 * kGap,
                2 * kMargin + 4 * kRowHeight + 512 + kLabelHeight + kGap + kViewH);
    DrawChains(sheet, art);
    DrawGlowAndIcons(sheet, art, kMargin + 3 * kRowHeight);
    DrawPreviews(sheet, art, kMargin + 4 * kRowHeight);
    return sheet.Png();
}

}  // namespace artgen
