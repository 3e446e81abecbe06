// The multi-monitor calls of USER32, looked up by name, with single-monitor fallbacks.
//
// Systems without multi-monitor support (Windows 95, NT 4) lack these entry points, so the
// program never links them directly. On first use of any of the four calls below, seven
// names are looked up in the already loaded USER32; if any one is missing, all four calls
// use the fallbacks, which describe one primary monitor "DISPLAY" at (0, 0) with the
// primary screen's size and the pseudo handle kPrimaryMonitorPseudoHandle. The outcome of
// the lookup holds for the life of the process (tests can force either path, see
// ForceMultiMonitorLookup).
//
// Each call has the signature and result of the system call of the same name.
#pragma once

#include <windows.h>

namespace multimon {

// The one monitor the fallbacks know.
inline HMONITOR PrimaryMonitorPseudoHandle() { return reinterpret_cast<HMONITOR>(INT_PTR(0x12340042)); }

HMONITOR MonitorFromRect(LPCRECT rect, DWORD flags);
HMONITOR MonitorFromWindow(HWND window, DWORD flags);
BOOL GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info);
BOOL EnumDisplayDevicesA(LPCSTR device, DWORD index, PDISPLAY_DEVICEA record, DWORD flags);

// True when the four calls above use the fallbacks (does the lookup if not yet done).
bool UsingFallbacks();

// Test seam: redo the lookup on next use; with `fallbacksOnly` the lookup behaves as if
// USER32 lacked the entry points.
void ForceMultiMonitorLookup(bool fallbacksOnly);

}  // namespace multimon
