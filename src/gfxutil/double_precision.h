// DoublePrecision: while one lives, double arithmetic on this thread is done in double
// precision, whatever mode Direct3D left the floating-point unit in.
//
// A 32-bit build does its double arithmetic on the x87 unit, and Direct3D 8 switches that
// unit to single precision for the thread that creates a device (the devices are made
// without D3DCREATE_FPU_PRESERVE). The clock, the angle reduction and the scene's motion
// work with seconds of uptime and angles in the millions, which single precision would
// round to visible steps: they hold one of these for the length of their arithmetic, and
// it gives the unit back to Direct3D in its own mode. A 64-bit build does double arithmetic
// in SSE registers, which that mode does not touch; there it is empty.
#pragma once

#include <float.h>

class DoublePrecision {
public:
#if defined(__i386__)
    DoublePrecision() : saved(::_controlfp(0, 0)) { ::_controlfp(_PC_53, _MCW_PC); }
    ~DoublePrecision() { ::_controlfp(saved, _MCW_PC); }

private:
    unsigned int saved;
#else
    DoublePrecision() {}   // user-provided, so a `const DoublePrecision x;` compiles
#endif
    DoublePrecision(const DoublePrecision&) = delete;
    DoublePrecision& operator=(const DoublePrecision&) = delete;
};
