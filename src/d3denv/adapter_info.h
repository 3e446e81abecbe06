// What one Direct3D adapter can do, and the user's display choices for its monitor.
//
// Filled once per run by the enumeration (adapter_enumeration.cpp); the records are
// owned by the Saver (allocated zero-filled, freed by Run). 0xFFFF marks the absence
// of a device or of a combo.
#pragma once

#include <windows.h>
#include <d3d8.h>

constexpr unsigned kMaxAdapters = 9;
constexpr unsigned kMaxAdapterFormats = 20;   // adapter formats per adapter
constexpr unsigned kMaxModes = 100;           // distinct modes per adapter
constexpr unsigned kMaxCombos = 150;          // combos per device type
constexpr unsigned kMaxDeviceTypes = 3;
constexpr unsigned kNoIndex = 0xFFFF;

// One accepted full-screen mode of one device type.
struct DeviceCombo {
    UINT width;
    UINT height;
    D3DFORMAT format;             // display and back-buffer format
    DWORD behaviorFlags;          // for CreateDevice
    D3DFORMAT depthStencilFormat; // 0 when the Saver uses no depth buffer
};

// One device type (HAL, SW or REF) of an adapter that has at least one combo.
struct DeviceInfo {
    D3DDEVTYPE deviceType;
    D3DCAPS8 caps;
    const char* typeName;         // "HAL", "SW" or "REF"
    DWORD canRenderWindowed;
    UINT comboCount;
    DeviceCombo combos[kMaxCombos];
    UINT currentCombo;            // kNoIndex = none
};

struct AdapterInfo {
    int monitorIndex;             // position in the monitor table, -1 when none
    D3DADAPTER_IDENTIFIER8 identifier;
    D3DDISPLAYMODE desktopMode;
    UINT deviceCount;
    DeviceInfo devices[kMaxDeviceTypes];
    DWORD hasHardwareDevice;
    DWORD hardwareCompatible;
    DWORD hasSoftwareDevice;
    DWORD softwareCompatible;
    UINT userWidth;               // user's full-screen mode; all three 0 = automatic
    UINT userHeight;
    D3DFORMAT userFormat;
    DWORD leaveBlack;
    DWORD disableHardware;
    UINT currentDevice;           // device for windowed rendering; kNoIndex after a failed choice
    HWND deviceWindow;
};
