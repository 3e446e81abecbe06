// The monitor table: filled from the desktop's display devices at start-up
// (EnumerateMonitors), refreshed and the full-screen windows placed once the render units
// exist (PlaceWindows). The multi-monitor calls go through host/multimon.h.
#include "host/multimon.h"
#include "host/saver.h"

namespace {

// Reads the current mode of an attached display device into `rect` (virtual-screen
// coordinates). The fallbacks' pseudo device "DISPLAY" stands for the one display, which
// systems without multi-monitor support only know as "no device name".
bool ReadScreenRect(const DISPLAY_DEVICEA& device, RECT* rect) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmDriverExtra = 0;
    const char* name = multimon::UsingFallbacks() ? nullptr : device.DeviceName;
    if (!::EnumDisplaySettingsA(name, ENUM_CURRENT_SETTINGS, &mode)) return false;
    LONG left = 0, top = 0;
    if (!(device.StateFlags & DISPLAY_DEVICE_PRIMARY_DEVICE)) {
        left = mode.dmPosition.x;
        top = mode.dmPosition.y;
    }
    ::SetRect(rect, left, top, left + LONG(mode.dmPelsWidth), top + LONG(mode.dmPelsHeight));
    return true;
}

}  // namespace

void Saver::EnumerateMonitors() {
    monitorCount = 0;
    for (DWORD index = 0; monitorCount < kMaxMonitors; index++) {
        DISPLAY_DEVICEA device = {};
        device.cb = sizeof(device);
        if (!multimon::EnumDisplayDevicesA(nullptr, index, &device, 0)) break;
        if (device.StateFlags & DISPLAY_DEVICE_MIRRORING_DRIVER) continue;

        MonitorInfo& monitor = monitors[monitorCount];
        monitor = {};
        ::lstrcpynA(monitor.adapterDescription, device.DeviceString,
                    sizeof(monitor.adapterDescription));
        monitor.adapterOrdinal = -1;
        if ((device.StateFlags & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) &&
            ReadScreenRect(device, &monitor.screenRect)) {
            monitor.monitorHandle =
                multimon::MonitorFromRect(&monitor.screenRect, MONITOR_DEFAULTTONULL);
        }
        monitorCount++;
    }
}

void Saver::PlaceWindows() {
    for (UINT i = 0; i < monitorCount; i++) {
        MonitorInfo& monitor = monitors[i];
        if (!monitor.monitorHandle) continue;
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (multimon::GetMonitorInfoA(monitor.monitorHandle, &info))
            monitor.screenRect = info.rcMonitor;
        if (!windowed && monitor.window) {
            const RECT& r = monitor.screenRect;
            ::SetWindowPos(monitor.window, HWND_TOPMOST, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, SWP_NOACTIVATE);
        }
    }
    if (windowed) return;
    for (UINT u = 0; u < unitCount; u++) {
        int m = units[u].monitorIndex;
        if (m >= 0 && UINT(m) < monitorCount)
            ::UnionRect(&windowRect, &windowRect, &monitors[m].screenRect);
    }
}
