// SinCos: sine and cosine after taking whole turns off the angle (see sin_cos.h).
#include "gfxutil/sin_cos.h"

#include <cmath>

#include "gfxutil/double_precision.h"

namespace {

// 2 pi split into the nearest double and what that double misses of the true value.
const double kTwoPiHigh = 6.283185307179586232;
const double kTwoPiLow = 2.4492935982947064e-16;

}  // namespace

double ReduceAngle(double angle) {
    const DoublePrecision precision;
    // remainder() is exact, so the only error left is the whole turns times kTwoPiLow,
    // which the correction takes off too. Past 2^53 turns (angles no clock reaches) the
    // count itself is no longer exact and the correction is left out.
    double reduced = std::remainder(angle, kTwoPiHigh);
    const double turns = std::round((angle - reduced) / kTwoPiHigh);
    if (std::fabs(turns) < 9007199254740992.0) reduced -= turns * kTwoPiLow;
    return reduced;
}

void SinCos(double angle, double* sine, double* cosine) {
    const DoublePrecision precision;
    const double reduced = ReduceAngle(angle);
    *sine = std::sin(reduced);
    *cosine = std::cos(reduced);
}
