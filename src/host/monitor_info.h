// One entry of the monitor table: a display device of the desktop.
//
// The Saver holds nine of these (kMaxMonitors). An entry's position in the table is the
// monitor's number everywhere: registry sub-keys "System %d", dialog tabs, render units.
// Entries are filled once at start-up and never removed.
#pragma once

#include <windows.h>

constexpr unsigned kMaxMonitors = 9;

struct MonitorInfo {
    char adapterDescription[128]; // the device's DeviceString, shown by the display settings dialog
    HMONITOR monitorHandle;       // null when the device is not attached to the desktop
    RECT screenRect;              // virtual-screen rectangle; empty when not attached
    int adapterOrdinal;           // index into Saver::adapters, -1 when no adapter drives it
    HWND window;                  // full-screen saver window (Preview/Test: first entry only)
    float boxX, boxY;             // error box, client coordinates of `window`
    float boxWidth, boxHeight;    // width 0 = box not placed yet
    float boxSpeedX, boxSpeedY;   // pixels per second
};
