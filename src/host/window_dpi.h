// The dots per inch a window is shown at, and the one rule that turns sizes given for 96 dpi
// into pixels at another: the error box and its text use it (render_loop.cpp places the box,
// message_painting.cpp paints it). Nothing here keeps state beyond the looked-up entry point.
#pragma once

#include <windows.h>

const UINT kDefaultDpi = 96;   // what sizes in this program are given for

// The window's dpi where the system reports one per window (Windows 10 1607 and later), else
// the system's (the same for every window there), else 96.
UINT WindowDpi(HWND window);

// A size given for `sizeDpi` (96 unless named), at `dpi`, rounded to the nearest pixel.
int ScaleForDpi(int size, UINT dpi, UINT sizeDpi = kDefaultDpi);

// The error display's moving box: 300 x 150 at 96 dpi.
SIZE ErrorBoxSize(UINT dpi);
