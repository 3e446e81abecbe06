// The multi-monitor entry points of USER32 and their single-monitor fallbacks (see
// multimon.h). The lookup is all or nothing: one missing name means fallbacks for all.
#include "host/multimon.h"

namespace multimon {
namespace {

typedef int(WINAPI* GetSystemMetricsFn)(int);
typedef HMONITOR(WINAPI* MonitorFromWindowFn)(HWND, DWORD);
typedef HMONITOR(WINAPI* MonitorFromRectFn)(LPCRECT, DWORD);
typedef HMONITOR(WINAPI* MonitorFromPointFn)(POINT, DWORD);
typedef BOOL(WINAPI* EnumDisplayMonitorsFn)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
typedef BOOL(WINAPI* GetMonitorInfoFn)(HMONITOR, LPMONITORINFO);
typedef BOOL(WINAPI* EnumDisplayDevicesFn)(LPCSTR, DWORD, PDISPLAY_DEVICEA, DWORD);

// Process-wide: the seven looked-up entry points and whether the lookup was done. Only
// four are called; the other three take part in the all-or-nothing rule because a system
// that has some of them but not all has no dependable multi-monitor support.
struct EntryPoints {
    GetSystemMetricsFn getSystemMetrics;
    MonitorFromWindowFn monitorFromWindow;
    MonitorFromRectFn monitorFromRect;
    MonitorFromPointFn monitorFromPoint;
    EnumDisplayMonitorsFn enumDisplayMonitors;
    GetMonitorInfoFn getMonitorInfo;
    EnumDisplayDevicesFn enumDisplayDevices;
    bool lookedUp;
    bool fallbacksOnly;   // test seam
};
EntryPoints entries = {};

template <class T>
bool Find(HMODULE user32, const char* name, T* entry) {
    *entry = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
    return *entry != nullptr;
}

void LookUp() {
    if (entries.lookedUp) return;
    entries.lookedUp = true;
    HMODULE user32 = entries.fallbacksOnly ? nullptr : ::GetModuleHandleA("USER32");
    bool all = user32 && Find(user32, "GetSystemMetrics", &entries.getSystemMetrics) &&
               Find(user32, "MonitorFromWindow", &entries.monitorFromWindow) &&
               Find(user32, "MonitorFromRect", &entries.monitorFromRect) &&
               Find(user32, "MonitorFromPoint", &entries.monitorFromPoint) &&
               Find(user32, "EnumDisplayMonitors", &entries.enumDisplayMonitors) &&
               Find(user32, "GetMonitorInfoA", &entries.getMonitorInfo) &&
               Find(user32, "EnumDisplayDevicesA", &entries.enumDisplayDevices);
    if (!all) {
        bool fallbacksOnly = entries.fallbacksOnly;
        entries = {};
        entries.lookedUp = true;
        entries.fallbacksOnly = fallbacksOnly;
    }
}

// ---- Fallbacks: one primary monitor ---------------------------------------------------
HMONITOR FallbackMonitorFromRect(LPCRECT rect, DWORD flags) {
    if (flags & (MONITOR_DEFAULTTOPRIMARY | MONITOR_DEFAULTTONEAREST))
        return PrimaryMonitorPseudoHandle();
    if (!rect) return nullptr;
    if (rect->right > 0 && rect->bottom > 0 && rect->left < ::GetSystemMetrics(SM_CXSCREEN) &&
        rect->top < ::GetSystemMetrics(SM_CYSCREEN))
        return PrimaryMonitorPseudoHandle();
    return nullptr;
}

HMONITOR FallbackMonitorFromWindow(HWND window, DWORD flags) {
    if (flags & (MONITOR_DEFAULTTOPRIMARY | MONITOR_DEFAULTTONEAREST))
        return PrimaryMonitorPseudoHandle();
    RECT rect;
    if (::IsIconic(window)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof(placement);
        if (!::GetWindowPlacement(window, &placement)) return nullptr;
        rect = placement.rcNormalPosition;
    } else if (!::GetWindowRect(window, &rect)) {
        return nullptr;
    }
    return FallbackMonitorFromRect(&rect, flags);
}

BOOL FallbackGetMonitorInfo(HMONITOR monitor, LPMONITORINFO info) {
    RECT work;
    if (monitor != PrimaryMonitorPseudoHandle() || !info || info->cbSize < sizeof(MONITORINFO) ||
        !::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
        return FALSE;
    ::SetRect(&info->rcMonitor, 0, 0, ::GetSystemMetrics(SM_CXSCREEN),
              ::GetSystemMetrics(SM_CYSCREEN));
    info->rcWork = work;
    info->dwFlags = MONITORINFOF_PRIMARY;
    if (info->cbSize >= sizeof(MONITORINFOEXA))
        ::lstrcpyA(reinterpret_cast<MONITORINFOEXA*>(info)->szDevice, "DISPLAY");
    return TRUE;
}

// The size of the oldest DISPLAY_DEVICEA layout: size, name, description, state flags.
constexpr DWORD kMinDisplayDeviceSize = sizeof(DWORD) + 32 + 128 + sizeof(DWORD);

BOOL FallbackEnumDisplayDevices(LPCSTR device, DWORD index, PDISPLAY_DEVICEA record, DWORD) {
    if (device || index != 0 || !record || record->cb < kMinDisplayDeviceSize) return FALSE;
    ::lstrcpyA(record->DeviceName, "DISPLAY");
    ::lstrcpyA(record->DeviceString, "DISPLAY");
    record->StateFlags = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE;
    return TRUE;
}

}  // namespace

// ---- The four calls -------------------------------------------------------------------
HMONITOR MonitorFromRect(LPCRECT rect, DWORD flags) {
    LookUp();
    return entries.monitorFromRect ? entries.monitorFromRect(rect, flags)
                                   : FallbackMonitorFromRect(rect, flags);
}

HMONITOR MonitorFromWindow(HWND window, DWORD flags) {
    LookUp();
    return entries.monitorFromWindow ? entries.monitorFromWindow(window, flags)
                                     : FallbackMonitorFromWindow(window, flags);
}

BOOL GetMonitorInfoA(HMONITOR monitor, LPMONITORINFO info) {
    LookUp();
    return entries.getMonitorInfo ? entries.getMonitorInfo(monitor, info)
                                  : FallbackGetMonitorInfo(monitor, info);
}

BOOL EnumDisplayDevicesA(LPCSTR device, DWORD index, PDISPLAY_DEVICEA record, DWORD flags) {
    LookUp();
    return entries.enumDisplayDevices ? entries.enumDisplayDevices(device, index, record, flags)
                                      : FallbackEnumDisplayDevices(device, index, record, flags);
}

bool UsingFallbacks() {
    LookUp();
    return entries.monitorFromRect == nullptr;
}

void ForceMultiMonitorLookup(bool fallbacksOnly) {
    entries = {};
    entries.fallbacksOnly = fallbacksOnly;
}

}  // namespace multimon
