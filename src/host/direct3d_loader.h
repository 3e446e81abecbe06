// Loading Direct3D 8 at run time: d3d8.dll is loaded from the system folder and
// Direct3DCreate8 looked up in it, so a machine without Direct3D 8 gives a recorded failure
// instead of a program that cannot start. The module stays loaded for the life of the process.
#pragma once

#include <windows.h>
#include <d3d8.h>

// The Direct3D object for D3D_SDK_VERSION (220), or null when Direct3D 8 is missing.
IDirect3D8* CreateDirect3D();

// Tests replace the factory to hand the Saver a scripted Direct3D object; null restores
// the real one.
typedef IDirect3D8* (*Direct3DFactory)();
void SetDirect3DFactory(Direct3DFactory factory);
