// Helpers of the adapter enumeration that other parts of the Direct3D environment and the
// tests use: the order of the mode list and the format classes.
#pragma once

#include <windows.h>
#include <d3d8.h>

// Orders two display modes: smaller width first, then smaller height, then the larger
// D3DFORMAT number first (X1R5G5B5 before R5G6B5 before X8R8G8B8). The refresh rate is
// never compared. Negative, zero or positive.
int CompareModes(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b);

// R5G6B5, X1R5G5B5, A1R5G5B5, A4R4G4B4, X4R4G4B4.
bool IsSixteenBitFormat(D3DFORMAT format);
// A8R8G8B8, X8R8G8B8.
bool IsThirtyTwoBitFormat(D3DFORMAT format);
