// Sine and cosine of one angle, with the angle first brought into one turn.
//
// The scene's angles grow with the running time without bound (a machine that has been up
// for weeks gives angles in the hundreds of thousands of radians). SinCos takes the whole
// turns off in double precision against a two-part 2 pi before the platform's sine and
// cosine see the angle, so the result stays as good as for a small angle whatever the
// runtime library does with large arguments. Pure; no state.
#pragma once

void SinCos(double angle, double* sine, double* cosine);

// The same angle brought into -pi..pi (for operations that take a float angle).
double ReduceAngle(double angle);
