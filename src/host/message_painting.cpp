// Painting of the error box on the saver windows.
//
// PENDING: filled by its own issue; this placeholder only keeps the program linking.
#include "host/saver.h"

void Saver::PaintMessage(HWND, HDC) {}
