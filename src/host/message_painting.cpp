// Painting of the error display: the message box of a saver window's monitor (its frame
// and the centred, wrapped message) with black around it.
//
// The box itself is placed and moved by StepErrorMode (render_loop.cpp); this file only
// paints what the monitor entry says. With no recorded failure the box is empty and the
// whole monitor (Preview and Test: the whole client area) is painted black. The box comes
// sized for the window's dpi, and so does the text. Nothing here is kept between calls.
#include "host/multimon.h"
#include "host/saver.h"
#include "host/window_dpi.h"

namespace {

// Preview and Test show one window, whose box lives on the first monitor entry.
bool ShowsOneWindow(const Saver& saver) {
    return saver.windowed || saver.mode == SaverMode::Preview || saver.mode == SaverMode::Test;
}

// The entry whose box the window shows, or null. Preview and Test: the first entry, wherever
// the window is (the primary display need not be the first device, the first may be
// detached, the dialog may sit on another monitor). Full screen: the first entry whose
// handle is the window's monitor.
const MonitorInfo* FindWindowMonitor(const Saver& saver, HWND window) {
    if (ShowsOneWindow(saver)) return &saver.monitors[0];
    HMONITOR monitor = multimon::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    for (UINT i = 0; i < saver.monitorCount; i++) {
        if (saver.monitors[i].monitorHandle == monitor) return &saver.monitors[i];
    }
    return nullptr;
}

// What is painted black around the box, in the window's client coordinates: the client area
// of the one window of Preview and Test, else the entry's monitor.
RECT AreaAroundBox(const Saver& saver, const MonitorInfo& monitor, HWND window) {
    RECT area;
    if (ShowsOneWindow(saver)) {
        ::GetClientRect(window, &area);
        return area;
    }
    POINT corners[2] = {{monitor.screenRect.left, monitor.screenRect.top},
                        {monitor.screenRect.right, monitor.screenRect.bottom}};
    ::ScreenToClient(window, &corners[0]);
    ::ScreenToClient(window, &corners[1]);
    area = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return area;
}

// Truncation toward zero, as a float-to-integer conversion does.
RECT BoxRect(const MonitorInfo& monitor) {
    RECT box;
    box.left = static_cast<LONG>(monitor.boxX);
    box.top = static_cast<LONG>(monitor.boxY);
    box.right = static_cast<LONG>(monitor.boxX + monitor.boxWidth);
    box.bottom = static_cast<LONG>(monitor.boxY + monitor.boxHeight);
    return box;
}

// The device context's default font is made for the system's dpi; a window shown at another
// (a monitor with a scale of its own) gets a copy of it at the window's. Null when the default
// fits, or when no copy can be made: the default font then stands.
HFONT FontForWindowDpi(HDC dc, UINT dpi) {
    int fontDpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    LOGFONTA font;
    if (fontDpi <= 0 || UINT(fontDpi) == dpi ||
        !::GetObjectA(::GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font))
        return nullptr;
    font.lfHeight = ScaleForDpi(font.lfHeight, dpi, UINT(fontDpi));
    font.lfWidth = ScaleForDpi(font.lfWidth, dpi, UINT(fontDpi));
    return ::CreateFontIndirectA(&font);
}

// The text is wrapped to the box width and the block of lines centred in both directions,
// in the device context's default font (at the window's dpi) and colours.
void DrawCentredText(HWND window, HDC dc, const char* text, const RECT& box) {
    HFONT scaled = FontForWindowDpi(dc, WindowDpi(window));
    HGDIOBJ previous = scaled ? ::SelectObject(dc, scaled) : nullptr;
    RECT measured = box;
    int height = ::DrawTextA(dc, text, -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER);
    RECT placed = {box.left, (box.top + box.bottom - height) / 2, box.right, box.bottom};
    ::DrawTextA(dc, text, -1, &placed, DT_WORDBREAK | DT_CENTER);
    if (!scaled) return;
    ::SelectObject(dc, previous);
    ::DeleteObject(scaled);
}

}  // namespace

void Saver::PaintMessage(HWND window, HDC dc) {
    const MonitorInfo* monitor = FindWindowMonitor(*this, window);
    if (!monitor) return;

    HBRUSH black = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    RECT box = BoxRect(*monitor);
    ::FillRect(dc, &box, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    ::FrameRect(dc, &box, black);
    DrawCentredText(window, dc, errorText, box);
    ::ExcludeClipRect(dc, box.left, box.top, box.right, box.bottom);

    RECT around = AreaAroundBox(*this, *monitor, window);
    ::FillRect(dc, &around, black);
}
