// Window dpi and the scaling rule for sizes given at 96 dpi.
#include "host/window_dpi.h"

#include "host/user32_function.h"

namespace {

const int kErrorBoxWidth = 300, kErrorBoxHeight = 150;   // at 96 dpi

// GetDpiForWindow came with Windows 10 1607; the program runs on older systems too, so it
// is looked up in USER32 (loaded by every GUI program) instead of being imported.
typedef UINT(WINAPI* GetDpiForWindowFn)(HWND window);

// Before per-window dpi the system had one for the whole screen; it reports 96 to a program
// that has not declared itself dpi-aware.
UINT SystemDpi() {
    HDC screen = ::GetDC(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : kDefaultDpi;
}

}  // namespace

UINT WindowDpi(HWND window) {
    static const GetDpiForWindowFn getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0;   // 0 for a window that is gone
    return dpi ? dpi : SystemDpi();
}

int ScaleForDpi(int size, UINT dpi, UINT sizeDpi) { return ::MulDiv(size, int(dpi), int(sizeDpi)); }

SIZE ErrorBoxSize(UINT dpi) {
    SIZE box = {ScaleForDpi(kErrorBoxWidth, dpi), ScaleForDpi(kErrorBoxHeight, dpi)};
    return box;
}
