// A render unit: one Direct3D device for one monitor, or for the one window of the
// Preview and Test modes, with the presentation parameters it was created with.
#pragma once

#include <windows.h>
#include <d3d8.h>

constexpr unsigned kMaxUnits = 9;

struct RenderUnit {
    UINT adapterOrdinal;
    int monitorIndex;
    D3DDEVTYPE deviceType;
    DWORD behaviorFlags;
    IDirect3DDevice8* device;     // owned; null when not created
    D3DPRESENT_PARAMETERS presentParams;
    DWORD objectsInitialized;     // CreateSceneObjects succeeded on this device
    DWORD objectsRestored;        // RestoreSceneObjects succeeded on this device
    char deviceStats[90];
    char frameStats[42];
};
