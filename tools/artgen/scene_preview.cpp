// Ray casting of the scene preview: cones, slab tops and glow band, mip-mapped sampling.
#include "scene_preview.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

constexpr double kRim = 15;
constexpr double kRimHeight = 0.1;
constexpr double kSlabTop = 0.0496;
constexpr double kCubeHalf = 0.25;
constexpr double kCubeHeight = 0.5;

struct Slab {
    double x, z, width;
};

const Slab kSlabs[34] = {
    {0, 0, 2},           {1.8, -0.3, 0.7476},   {0.3, -2.4, 0.7476},   {-1.5, -1.6, 0.7476}, {-2.7, 0.7, 0.7476},
    {-0.9, 2.3, 0.7476}, {1.3, 1.8, 0.7476},    {3, 1.7, 0.4673},      {3.6, 0.6, 0.4673},   {3.2, -0.8, 0.4673},
    {2.4, -2.1, 0.4673}, {1.5, -3.4, 0.4673},   {0, -3.7, 0.4673},     {-1.6, -3.1, 0.4673}, {-3, -1.8, 0.4673},
    {-3.9, -0.3, 0.4673}, {-3, 2.3, 0.4673},    {0.2, 3.7, 0.4673},    {1.8, 2.9, 0.4673},   {2.8, 3.7, 0.2336},
    {3.2, 3.1, 0.2336},  {3.8, 1.8, 0.2336},    {4.883, 0.3, 0.2336},  {3.9, -1.5, 0.2336},  {2.9, -3.1, 0.2336},
    {1.8, -4.3, 0.2336}, {0, -4.883, 0.2336},   {-1.4, -4.1, 0.2336},  {-3.4, -3.2, 0.2336}, {-4.883, -0.8, 0.2336},
    {-4, 1.2, 0.2336},   {-2.8, 3.9, 0.2336},   {-0.6, 4.883, 0.2336}, {1.4, 4.5, 0.2336},
};

struct Ray {
    Vec origin, dir;
};

// Nearest hit with the double cone of apex height h (rims of radius 15 at y = +-0.1).
double HitCones(const Ray& ray, double h) {
    const double k = (h - kRimHeight) / kRim;
    double best = -1;
    for (int side = -1; side <= 1; side += 2) {
        const double w = h - side * ray.origin.y, q = side * ray.dir.y;
        const double dxz = ray.dir.x * ray.dir.x + ray.dir.z * ray.dir.z;
        const double exz = ray.origin.x * ray.origin.x + ray.origin.z * ray.origin.z;
        const double a = q * q - k * k * dxz;
        const double b = -2 * w * q - 2 * k * k * (ray.origin.x * ray.dir.x + ray.origin.z * ray.dir.z);
        const double c = w * w - k * k * exz;
        const double disc = b * b - 4 * a * c;
        if (disc < 0 || std::fabs(a) < 1e-12) continue;
        const double root = std::sqrt(disc);
        for (double t : {(-b - root) / (2 * a), (-b + root) / (2 * a)}) {
            const double y = side * (ray.origin.y + t * ray.dir.y);
            if (t > 1e-6 && y >= kRimHeight && y <= h && (best < 0 || t < best)) best = t;
        }
    }
    return best;
}

// Trilinear-like sample: the level whose texels match the footprint (in level-0 texels).
Rgb SampleChain(const std::vector<Image>& chain, double u, double v, double footprint) {
    int level = 0;
    double scale = 1;
    while (level + 1 < static_cast<int>(chain.size()) && footprint > 2 * scale) {
        ++level;
        scale *= 2;
    }
    const double frac = footprint <= 1 ? 0 : Clamp01(footprint / scale - 1);
    const Rgb a = SampleWrapped(chain[level], u, v);
    if (level + 1 >= static_cast<int>(chain.size()) || frac <= 0) return a;
    return Mix(a, SampleWrapped(chain[level + 1], u, v), frac);
}

// The cone layer's texture at the ray's hit, sampled for the pixel's footprint.
Rgb ConeLayer(const std::vector<Image>& chain, const Ray& ray, const Ray& nextX, const Ray& nextY, double h,
              bool& hit) {
    const double t = HitCones(ray, h);
    hit = t > 0;
    if (!hit) return {};
    const double s = 2 / kRim;
    const Vec p = ray.origin + ray.dir * t;
    double footprint = 1;
    for (const Ray* n : {&nextX, &nextY}) {
        const double tn = HitCones(*n, h);
        if (tn <= 0) continue;
        const Vec q = n->origin + n->dir * tn;
        const double d = std::fmax(std::fabs(q.x - p.x), std::fabs(q.z - p.z)) * s * chain[0].width;
        footprint = std::fmax(footprint, d);
    }
    return SampleChain(chain, p.x * s, p.z * s, footprint);
}

// Slab tops: the stone at the hit, blended as source x (source + destination).
Rgb SlabTops(const std::vector<Image>& stone, const Ray& ray, const Ray& nextX, Rgb under) {
    if (ray.dir.y >= 0 || ray.origin.y <= kSlabTop) return under;
    const double t = (kSlabTop - ray.origin.y) / ray.dir.y;
    const Vec p = ray.origin + ray.dir * t;
    for (int i = 0; i < 34; ++i) {
        const Slab& s = kSlabs[i];
        const double u = (p.x - (s.x - s.width / 2)) / s.width, v = (p.z - (s.z - s.width / 2)) / s.width;
        if (u < 0 || u > 1 || v < 0 || v > 1) continue;
        const double repeat = i == 0 ? 2 : 1;
        const double tn = (kSlabTop - nextX.origin.y) / nextX.dir.y;
        const Vec q = nextX.origin + nextX.dir * tn;
        const double footprint = std::fabs(q.x - p.x) / s.width * repeat * stone[0].width;
        const Rgb src = SampleChain(stone, u * repeat, v * repeat, footprint);
        return Clamp01(src * (src + under));
    }
    return under;
}

// One strip of the glow band (corners a, b, c; uv 0.11 .. 0.99), turned to face `angle`.
bool HitStrip(const Ray& ray, Vec a, Vec b, Vec c, double& s, double& q) {
    const Vec u = c - a, v = b - a, w = ray.origin - a;
    const Vec nd = ray.dir * -1;
    const double det = Dot(u, Cross(v, nd));
    if (std::fabs(det) < 1e-12) return false;
    s = Dot(w, Cross(v, nd)) / det;
    q = Dot(u, Cross(w, nd)) / det;
    const double t = Dot(u, Cross(v, w)) / det;
    return t > 0 && s >= 0 && s <= 1 && q >= 0 && q <= 1;
}

Rgb GlowBand(const Image& glow, const Ray& ray, double cosT, double sinT) {
    auto turn = [&](double x, double y, double z) { return Vec{x * cosT + z * sinT, y, -x * sinT + z * cosT}; };
    const Vec strips[2][3] = {
        {turn(-14, -2.08, -7), turn(-14, 0.1, -15), turn(14, -2.08, -7)},
        {turn(14, 2.08, -7), turn(14, -0.1, -15), turn(-14, 2.08, -7)},
    };
    Rgb sum;
    for (const auto& strip : strips) {
        double s, q;
        if (!HitStrip(ray, strip[0], strip[1], strip[2], s, q)) continue;
        const Rgb g = SampleWrapped(glow, 0.11 + 0.88 * s, 0.11 + 0.88 * q);
        sum = sum + g * g;
    }
    return sum;
}

// The cube (unturned, without its bevels) at its resting height: the stone projected per
// side as the cube's texture coordinates are, drawn opaque over everything.
double HitCube(const Ray& ray, Vec& p) {
    double near = -1e9, far = 1e9;
    const double o[3] = {ray.origin.x, ray.origin.y - kCubeHeight, ray.origin.z};
    const double d[3] = {ray.dir.x, ray.dir.y, ray.dir.z};
    for (int a = 0; a < 3; ++a) {
        if (std::fabs(d[a]) < 1e-12) {
            if (std::fabs(o[a]) > kCubeHalf) return -1;
            continue;
        }
        double t0 = (-kCubeHalf - o[a]) / d[a], t1 = (kCubeHalf - o[a]) / d[a];
        if (t0 > t1) std::swap(t0, t1);
        near = std::fmax(near, t0);
        far = std::fmin(far, t1);
    }
    if (near > far || near <= 0) return -1;
    p = {o[0] + d[0] * near, o[1] + d[1] * near, o[2] + d[2] * near};
    return near;
}

bool Cube(const std::vector<Image>& stone, const Ray& ray, const Ray& nextX, Rgb& out) {
    Vec p, q;
    if (HitCube(ray, p) < 0) return false;
    auto uv = [](Vec v, double& u, double& w) {
        const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
        if (az >= ax && az >= ay) { u = 1.5 * v.x; w = 1.5 * v.y; }
        else if (ax >= ay) { u = 1.5 * v.y; w = 1.5 * v.z; }
        else { u = 1.5 * v.x; w = 1.5 * v.z; }
    };
    double u, v, un = 0, vn = 0;
    uv(p, u, v);
    double footprint = 1;
    if (HitCube(nextX, q) > 0) {
        uv(q, un, vn);
        footprint = std::fmax(1, std::fmax(std::fabs(un - u), std::fabs(vn - v)) * stone[0].width);
    }
    out = SampleChain(stone, u, v, footprint);
    return true;
}

}  // namespace

Image PreviewScene(const PreviewTextures& textures, Vec eye, Vec target, int width, int height) {
    const Vec forward = Normalize(target - eye);
    const Vec right = Normalize(Cross({0, 1, 0}, forward));
    const Vec up = Cross(forward, right);
    const double r = std::sqrt(eye.x * eye.x + eye.z * eye.z);
    const double cosT = r > 0 ? eye.z / r : 1, sinT = r > 0 ? eye.x / r : 0;
    const double half = (width < height ? width : height) / 2.0;
    auto rayAt = [&](double px, double py) {
        const double sx = (px - width / 2.0) / half * 0.5, sy = (height / 2.0 - py) / half * 0.5;
        return Ray{eye, Normalize(forward + right * sx + up * sy)};
    };
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Ray ray = rayAt(x + 0.5, y + 0.5), nx = rayAt(x + 1.5, y + 0.5), ny = rayAt(x + 0.5, y + 1.5);
            bool hitSky, hitClouds;
            Rgb c = ConeLayer(textures.sky, ray, nx, ny, 3, hitSky);
            if (!hitSky) c = {1, 1, 1};  // the clear colour shows between the rims
            const Rgb clouds = ConeLayer(textures.clouds, ray, nx, ny, 2, hitClouds);
            c = Clamp01(c + clouds);
            c = SlabTops(textures.stone, ray, nx, c);
            c = Clamp01(c + GlowBand(textures.glow, ray, cosT, sinT));
            Cube(textures.stone, ray, nx, c);
            out.At(x, y) = c;
        }
    }
    return out;
}

}  // namespace artgen
