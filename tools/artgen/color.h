// Colour arithmetic of the art generator: linear RGB triples in 0..1 (stored values, the
// same space the device filters textures in) and the few blending helpers every painter
// uses. Only +, -, *, / and sqrt are used anywhere in the generator, so its output is the
// same bytes on every compiler and C library.
#pragma once

#include <cstddef>
#include <cstdint>

namespace artgen {

struct Rgb {
    double r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator-(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }
inline Rgb operator*(Rgb a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb operator*(Rgb a, Rgb b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }

inline double Clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline Rgb Clamp01(Rgb c) { return {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b)}; }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }
inline Rgb Mix(Rgb a, Rgb b, double t) { return a + (b - a) * t; }

// Hermite step from 0 at edge0 to 1 at edge1.
inline double Smoothstep(double edge0, double edge1, double v) {
    double t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

// A colour given as 0..255 bytes, the way the palettes are written down.
inline Rgb Bytes(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

// Rounds a 0..1 channel to a byte.
inline std::uint8_t ToByte(double v) { return static_cast<std::uint8_t>(Clamp01(v) * 255.0 + 0.5); }

}  // namespace artgen
