// Tileable noise: gradient noise on a lattice that repeats after a whole number of cells in
// each direction, and fractal sums of it (fBm) whose octaves double both the frequency and
// the period, so every sum repeats exactly over the unit square. Coordinates are in
// texture units: (u, v) and (u + 1, v) give the same value.
#pragma once

#include <cstdint>

namespace artgen {

struct FbmParams {
    int cellsX = 4;        // lattice cells across the unit square in the first octave
    int cellsY = 4;
    int octaves = 5;
    double gain = 0.5;     // amplitude ratio between successive octaves
    std::uint32_t seed = 1;
};

std::uint32_t Hash3(std::uint32_t a, std::uint32_t b, std::uint32_t c);

// Gradient noise at (x, y) in lattice units, repeating every px by py cells; about -1..1.
double GradientNoise(double x, double y, int px, int py, std::uint32_t seed);

// Fractal sum at (u, v) in texture units, scaled to about 0..1 (0.5 on average).
double Fbm(double u, double v, const FbmParams& params);

// 1 - |2 fbm - 1|: sharp crests where the sum crosses its middle (marble veins, wisps).
double Ridge(double u, double v, const FbmParams& params);

}  // namespace artgen
