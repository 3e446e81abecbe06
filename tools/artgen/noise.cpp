// Periodic gradient noise and its fractal sums.
#include "noise.h"

#include <cmath>

namespace artgen {

std::uint32_t Hash3(std::uint32_t a, std::uint32_t b, std::uint32_t c) {
    std::uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

namespace {

constexpr double kDiagonal = 0.70710678118654752;
constexpr double kGradX[8] = {1, -1, 0, 0, kDiagonal, -kDiagonal, kDiagonal, -kDiagonal};
constexpr double kGradY[8] = {0, 0, 1, -1, kDiagonal, kDiagonal, -kDiagonal, -kDiagonal};

int WrapCell(long long v, int period) {
    long long m = v % period;
    return static_cast<int>(m < 0 ? m + period : m);
}

double Corner(long long cx, long long cy, int px, int py, std::uint32_t seed, double dx, double dy) {
    const std::uint32_t h = Hash3(static_cast<std::uint32_t>(WrapCell(cx, px)),
                                  static_cast<std::uint32_t>(WrapCell(cy, py)), seed) & 7u;
    return kGradX[h] * dx + kGradY[h] * dy;
}

double Fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }

}  // namespace

double GradientNoise(double x, double y, int px, int py, std::uint32_t seed) {
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const long long cx = static_cast<long long>(fx);
    const long long cy = static_cast<long long>(fy);
    const double dx = x - fx;
    const double dy = y - fy;
    const double n00 = Corner(cx, cy, px, py, seed, dx, dy);
    const double n10 = Corner(cx + 1, cy, px, py, seed, dx - 1, dy);
    const double n01 = Corner(cx, cy + 1, px, py, seed, dx, dy - 1);
    const double n11 = Corner(cx + 1, cy + 1, px, py, seed, dx - 1, dy - 1);
    const double sx = Fade(dx);
    const double sy = Fade(dy);
    const double top = n00 + (n10 - n00) * sx;
    const double bottom = n01 + (n11 - n01) * sx;
    return 1.4 * (top + (bottom - top) * sy);
}

double Fbm(double u, double v, const FbmParams& params) {
    double sum = 0;
    double norm = 0;
    double amplitude = 1;
    int px = params.cellsX;
    int py = params.cellsY;
    for (int octave = 0; octave < params.octaves; ++octave) {
        sum += amplitude * GradientNoise(u * px, v * py, px, py, params.seed + 101u * octave);
        norm += amplitude;
        amplitude *= params.gain;
        px *= 2;
        py *= 2;
    }
    return 0.5 + 0.5 * sum / norm;
}

double Ridge(double u, double v, const FbmParams& params) {
    return 1 - std::fabs(2 * Fbm(u, v, params) - 1);
}

}  // namespace artgen
