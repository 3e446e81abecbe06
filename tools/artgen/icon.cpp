// Icon rendering (orthographic ray casting against a rounded box) and .ico encoding.
#include "icon.h"

#include <cmath>

#include "bytes.h"
#include "png.h"
#include "vec.h"

namespace artgen {

namespace {

constexpr double kHalf = 0.5;     // the cube's half edge
constexpr double kBevel = 0.11;   // radius of its rounded edges
constexpr double kScale = 1.0;   // cube units per icon half-width

// View from cube space: turned 45 degrees about y, then tipped 28 degrees towards the viewer.
struct View {
    double cy = std::sqrt(0.5), sy = std::sqrt(0.5);
    double cx = 0.8829476, sx = 0.4694716;
    Vec ToView(Vec p) const {
        const Vec r{cy * p.x + sy * p.z, p.y, -sy * p.x + cy * p.z};
        return {r.x, cx * r.y + sx * r.z, -sx * r.y + cx * r.z};
    }
    Vec ToCube(Vec v) const {
        const Vec r{v.x, cx * v.y - sx * v.z, sx * v.y + cx * v.z};
        return {cy * r.x - sy * r.z, r.y, sy * r.x + cy * r.z};
    }
};

double Max0(double v) { return v > 0 ? v : 0; }

double BoxDistance(Vec p) {
    const double inner = kHalf - kBevel;
    const Vec q{std::fabs(p.x) - inner, std::fabs(p.y) - inner, std::fabs(p.z) - inner};
    const Vec m{Max0(q.x), Max0(q.y), Max0(q.z)};
    double inside = q.x > q.y ? q.x : q.y;
    inside = inside > q.z ? inside : q.z;
    return std::sqrt(Dot(m, m)) + (inside < 0 ? inside : 0) - kBevel;
}

double Sign(double v) { return v < 0 ? -1 : 1; }

// Marble on the face the normal points out of: one whole pale tile per face.
Rgb CubeTexture(const Image& stone, Vec p, Vec n) {
    const double ax = std::fabs(n.x), ay = std::fabs(n.y), az = std::fabs(n.z);
    double a, b;
    if (ax >= ay && ax >= az) { a = p.z; b = p.y; }
    else if (ay >= az) { a = p.x; b = p.z; }
    else { a = p.x; b = p.y; }
    return SampleWrapped(stone, (a + kHalf) * 0.25, (kHalf - b) * 0.25);
}

// Colour of the cube where the ray through (sx, sy) meets it; false if it misses.
bool TraceCube(const View& view, const Image& stone, double sx, double sy, Rgb& out) {
    const Vec dir = view.ToCube({0, 0, 1});
    Vec p = view.ToCube({sx * kScale, sy * kScale + 0.04, -3});
    for (int step = 0; step < 96; ++step) {
        const double d = BoxDistance(p);
        if (d < 1e-5) {
            const double inner = kHalf - kBevel;
            const Vec n = Normalize({Sign(p.x) * Max0(std::fabs(p.x) - inner) + 1e-9 * p.x,
                                     Sign(p.y) * Max0(std::fabs(p.y) - inner) + 1e-9 * p.y,
                                     Sign(p.z) * Max0(std::fabs(p.z) - inner) + 1e-9 * p.z});
            const Vec light = Normalize({-0.45, 0.8, -0.55});
            const double lambert = Max0(Dot(view.ToView(n), light));
            out = Clamp01(CubeTexture(stone, p, n) * (0.38 + 0.72 * lambert));
            return true;
        }
        p = p + dir * d;
        if (d > 6) break;
    }
    return false;
}

// The rounded square the icon is drawn on: 1 inside, 0 outside.
bool InsideBackground(double sx, double sy) {
    const double r = 0.22;
    const double qx = Max0(std::fabs(sx) - (1 - r)), qy = Max0(std::fabs(sy) - (1 - r));
    return qx * qx + qy * qy <= r * r;
}

Rgb Background(const Image& sky, double sx, double sy) {
    // The sky, calmed towards a plain blue so that the cube stands out at small sizes.
    const Rgb plain = Mix(Bytes(22, 62, 150), Bytes(48, 104, 196), 0.5 - 0.5 * sy);
    const Rgb colour = Mix(SampleWrapped(sky, 0.36 + 0.3 * sx, 0.62 - 0.3 * sy), plain, 0.4);
    // A touch of the horizon's glow along the bottom edge.
    const double glow = Smoothstep(-0.35, -1.0, sy);
    return Clamp01(colour + Bytes(255, 150, 60) * (0.35 * glow * glow));
}

}  // namespace

IconImage RenderIcon(int size, const Image& sky, const Image& stone) {
    const View view;
    const int samples = size >= 128 ? 3 : 5;
    IconImage icon{size, std::vector<std::uint8_t>(static_cast<std::size_t>(size) * size * 4)};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            Rgb sum;
            int covered = 0;
            for (int j = 0; j < samples; ++j) {
                for (int i = 0; i < samples; ++i) {
                    const double sx = 2 * (x + (i + 0.5) / samples) / size - 1;
                    const double sy = 1 - 2 * (y + (j + 0.5) / samples) / size;
                    if (!InsideBackground(sx, sy)) continue;
                    Rgb c;
                    if (!TraceCube(view, stone, sx, sy, c)) c = Background(sky, sx, sy);
                    sum = sum + c;
                    ++covered;
                }
            }
            std::uint8_t* px = &icon.rgba[(static_cast<std::size_t>(y) * size + x) * 4];
            const Rgb c = covered ? sum * (1.0 / covered) : Rgb{};
            px[0] = ToByte(c.r);
            px[1] = ToByte(c.g);
            px[2] = ToByte(c.b);
            px[3] = ToByte(static_cast<double>(covered) / (samples * samples));
        }
    }
    return icon;
}

namespace {

std::vector<std::uint8_t> IconDib(const IconImage& image) {
    const std::uint32_t n = static_cast<std::uint32_t>(image.size);
    const std::uint32_t maskStride = ((n + 31) / 32) * 4;
    std::vector<std::uint8_t> out;
    Put32(out, 40);
    Put32(out, n);
    Put32(out, 2 * n);  // colour rows and mask rows together
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, n * n * 4 + maskStride * n);
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    for (int y = image.size - 1; y >= 0; --y) {
        for (int x = 0; x < image.size; ++x) {
            const std::uint8_t* px = &image.rgba[(static_cast<std::size_t>(y) * n + x) * 4];
            out.insert(out.end(), {px[2], px[1], px[0], px[3]});
        }
    }
    for (int y = image.size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskStride, 0);
        for (int x = 0; x < image.size; ++x)
            if (image.rgba[(static_cast<std::size_t>(y) * n + x) * 4 + 3] == 0) row[x / 8] |= 0x80 >> (x % 8);
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodeIco(const std::vector<IconImage>& images) {
    std::vector<std::vector<std::uint8_t>> bodies;
    for (const IconImage& image : images)
        bodies.push_back(image.size >= 256 ? EncodePng(image.size, image.size, 4, image.rgba) : IconDib(image));
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, static_cast<std::uint32_t>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const std::uint8_t side = images[i].size >= 256 ? 0 : static_cast<std::uint8_t>(images[i].size);
        out.insert(out.end(), {side, side, 0, 0});
        Put16(out, 1);   // planes
        Put16(out, 32);  // bits per pixel
        Put32(out, static_cast<std::uint32_t>(bodies[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(bodies[i].size());
    }
    for (const auto& body : bodies) out.insert(out.end(), body.begin(), body.end());
    return out;
}

}  // namespace artgen
