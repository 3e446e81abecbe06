// The idle step of the saving phase: one frame on every render unit (RenderFrame) with
// device loss and reset, the frame statistics (MeasureFrameRate), the error display's
// moving boxes (StepErrorMode) and the end of every unit (ReleaseEnvironment).
//
// Depends on the device selection (SelectRenderUnit), the frame timer and the scene's
// virtual operations. Process-wide state: the loop's clocks below, one set for the run.
// Nothing is allocated per frame.
#include <cstdio>
#include <cstring>

#include "host/release.h"
#include "host/saver.h"
#include "host/window_dpi.h"
#include "scene/frame_timer.h"

namespace {

// ============================================================================
// Process-wide state
// ============================================================================

struct RenderLoopClocks {
    DWORD frameCount = 0;          // frames since the last measurement
    double lastMeasurement = 0.0;  // absolute time of the last measurement, seconds
    DWORD lastTick = 0;            // timeGetTime of the last error-display step; 0 = none yet
};
RenderLoopClocks clocks;

// ============================================================================
// Constants
// ============================================================================

const float kBoxSpeedX = 0.1f;    // of the area's width, per second
const float kBoxSpeedY = 0.05f;   // of the area's height, per second
// A longer pause (a stalled machine, a suspend) is taken as this much: the box keeps
// bouncing inside its area instead of being thrown far outside and staying invisible.
const float kLongestBoxStep = 1.0f;

struct DepthLabel {
    D3DFORMAT format;
    const char* label;
};
const DepthLabel kDepthLabels[] = {
    {D3DFMT_D32, " (D32)"},       {D3DFMT_D15S1, " (D15S1)"},     {D3DFMT_D24S8, " (D24S8)"},
    {D3DFMT_D24X8, " (D24X8)"},   {D3DFMT_D24X4S4, " (D24X4S4)"}, {D3DFMT_D16, " (D16)"},
};

// ============================================================================
// Frame statistics
// ============================================================================

const char* DepthLabelOf(D3DFORMAT format) {
    for (const DepthLabel& entry : kDepthLabels) {
        if (entry.format == format) return entry.label;
    }
    return "";
}

// The depth-stencil format of the adapter's current device and combo; 0 when the record
// names none.
D3DFORMAT CurrentDepthFormat(const AdapterInfo& adapter) {
    if (adapter.currentDevice >= adapter.deviceCount || adapter.currentDevice >= kMaxDeviceTypes)
        return D3DFMT_UNKNOWN;
    const DeviceInfo& device = adapter.devices[adapter.currentDevice];
    if (device.currentCombo >= device.comboCount || device.currentCombo >= kMaxCombos)
        return D3DFMT_UNKNOWN;
    return device.combos[device.currentCombo].depthStencilFormat;
}

AdapterInfo* AdapterOf(Saver& saver, const RenderUnit& unit) {
    if (unit.adapterOrdinal >= saver.adapterCount || unit.adapterOrdinal >= kMaxAdapters)
        return nullptr;
    return saver.adapters[unit.adapterOrdinal];
}

void WriteFrameStats(Saver& saver, RenderUnit& unit) {
    D3DDISPLAYMODE mode = {};
    if (saver.direct3d) saver.direct3d->GetAdapterDisplayMode(unit.adapterOrdinal, &mode);
    int depth = mode.Format == D3DFMT_X8R8G8B8 ? 32 : 16;
    std::snprintf(unit.frameStats, sizeof(unit.frameStats), "%.02f fps (%dx%dx%d)",
                  saver.framesPerSecond, int(mode.Width), int(mode.Height), depth);
    const AdapterInfo* adapter = AdapterOf(saver, unit);
    if (!saver.useDepthBuffer || !adapter) return;
    size_t used = std::strlen(unit.frameStats);
    std::snprintf(unit.frameStats + used, sizeof(unit.frameStats) - used, "%s",
                  DepthLabelOf(CurrentDepthFormat(*adapter)));
}

// ============================================================================
// Device loss
// ============================================================================

// The device came back from a loss: the scene's reset-sensitive objects go, the device is
// reset with the parameters it was created with, and the objects come back. A failure
// switches the run to the error display.
void ResetUnit(Saver& saver, RenderUnit& unit) {
    AdapterInfo* adapter = AdapterOf(saver, unit);
    if (saver.windowed && adapter && saver.direct3d)
        saver.direct3d->GetAdapterDisplayMode(unit.adapterOrdinal, &adapter->desktopMode);
    if (unit.objectsRestored) {
        saver.ReleaseSceneObjects();
        unit.objectsRestored = 0;
    }
    if (FAILED(saver.activeDevice->Reset(&unit.presentParams))) {
        saver.errorMode = 1;
        return;
    }
    if (FAILED(saver.RestoreSceneObjects()))
        saver.errorMode = 1;
    else
        unit.objectsRestored = 1;
}

// ============================================================================
// Error display
// ============================================================================

float ErrorStepSeconds() {
    if (clocks.lastTick == 0) clocks.lastTick = ::timeGetTime();
    DWORD now = ::timeGetTime();
    float seconds = float(DWORD(now - clocks.lastTick)) * 0.001f;
    clocks.lastTick = now;
    return seconds < kLongestBoxStep ? seconds : kLongestBoxStep;
}

// Full screen: the monitor in the window's client coordinates; windowed: the client area.
RECT BoxArea(const Saver& saver, const MonitorInfo& monitor) {
    if (saver.mode != SaverMode::FullScreen) return saver.windowRect;
    POINT corners[2] = {{monitor.screenRect.left, monitor.screenRect.top},
                        {monitor.screenRect.right, monitor.screenRect.bottom}};
    ::ScreenToClient(monitor.window, &corners[0]);
    ::ScreenToClient(monitor.window, &corners[1]);
    RECT area = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return area;
}

RECT BoxRect(const MonitorInfo& monitor) {
    RECT box = {static_cast<LONG>(monitor.boxX), static_cast<LONG>(monitor.boxY),
                static_cast<LONG>(monitor.boxX + monitor.boxWidth),
                static_cast<LONG>(monitor.boxY + monitor.boxHeight)};
    return box;
}

// The preview's box fills the window once and stays; elsewhere the box, sized for its
// window's dpi, starts centred and drifts a tenth of the area's width and a twentieth of
// its height per second.
void PlaceBox(const Saver& saver, MonitorInfo& monitor, const RECT& area) {
    float width = float(area.right - area.left);
    float height = float(area.bottom - area.top);
    if (saver.mode == SaverMode::Preview) {
        monitor.boxX = 0.0f;
        monitor.boxY = 0.0f;
        monitor.boxWidth = width;
        monitor.boxHeight = height;
        monitor.boxSpeedX = monitor.boxSpeedY = 0.0f;
        ::InvalidateRect(monitor.window, nullptr, FALSE);
        ::UpdateWindow(monitor.window);
        return;
    }
    SIZE box = ErrorBoxSize(WindowDpi(monitor.window));
    monitor.boxWidth = float(box.cx);
    monitor.boxHeight = float(box.cy);
    monitor.boxX = float(area.left + area.right - box.cx) * 0.5f;
    monitor.boxY = float(area.top + area.bottom - box.cy) * 0.5f;
    monitor.boxSpeedX = width * kBoxSpeedX;
    monitor.boxSpeedY = height * kBoxSpeedY;
}

// Turns the speed back when the next step would cross the far edge in its direction.
void Bounce(float position, float size, float step, float low, float high, float* speed) {
    if (position + size + step > high && *speed > 0.0f)
        *speed = -*speed;
    else if (position + step < low && *speed < 0.0f)
        *speed = -*speed;
}

// Only the box's old and new rectangles are repainted, and only when it moved a pixel.
void MoveBox(MonitorInfo& monitor, const RECT& area, float seconds) {
    RECT before = BoxRect(monitor);
    Bounce(monitor.boxX, monitor.boxWidth, seconds * monitor.boxSpeedX, float(area.left),
           float(area.right), &monitor.boxSpeedX);
    Bounce(monitor.boxY, monitor.boxHeight, seconds * monitor.boxSpeedY, float(area.top),
           float(area.bottom), &monitor.boxSpeedY);
    monitor.boxX += seconds * monitor.boxSpeedX;
    monitor.boxY += seconds * monitor.boxSpeedY;
    RECT after = BoxRect(monitor);
    if (before.left == after.left && before.top == after.top) return;
    ::InvalidateRect(monitor.window, &before, FALSE);
    ::InvalidateRect(monitor.window, &after, FALSE);
    ::UpdateWindow(monitor.window);
}

}  // namespace

// ============================================================================
// Saver operations
// ============================================================================

// Every unit is drawn before any is presented, so the monitors show the same moment.
HRESULT Saver::RenderFrame() {
    time = FrameTimer(TIMER_GETAPPTIME);   // kept in double: see Saver::time
    elapsedTime = float(FrameTimer(TIMER_GETELAPSEDTIME));
    AdvanceScene();
    MeasureFrameRate();

    for (UINT i = 0; i < unitCount; i++) {
        SelectRenderUnit(i);
        if (!activeDevice) continue;
        HRESULT level = activeDevice->TestCooperativeLevel();
        if (level == D3DERR_DEVICELOST) return S_OK;   // try again at the next idle step
        if (level == D3DERR_DEVICENOTRESET) ResetUnit(*this, units[i]);
        DrawScene();
    }
    for (UINT i = 0; i < unitCount; i++) {
        SelectRenderUnit(i);
        if (activeDevice) activeDevice->Present(nullptr, nullptr, nullptr, nullptr);
    }
    return S_OK;
}

// Measures over at least a second; the texts are only formatted when a measurement is
// taken, never per frame.
void Saver::MeasureFrameRate() {
    double now = FrameTimer(TIMER_GETABSOLUTETIME);
    clocks.frameCount++;
    if (now - clocks.lastMeasurement <= 1.0) return;
    framesPerSecond = float(double(clocks.frameCount) / (now - clocks.lastMeasurement));
    clocks.frameCount = 0;
    clocks.lastMeasurement = now;
    for (UINT i = 0; i < unitCount; i++) WriteFrameStats(*this, units[i]);
}

// Error mode is final: the first step lets go of every device, later steps only move
// the boxes.
void Saver::StepErrorMode() {
    if (errorMode && unitCount > 0) ReleaseEnvironment();
    float seconds = ErrorStepSeconds();
    if (errorText[0] == '\0') GetErrorMessage(errorCode, errorText, sizeof(errorText));
    for (UINT i = 0; i < monitorCount; i++) {
        MonitorInfo& monitor = monitors[i];
        if (!monitor.window) continue;
        RECT area = BoxArea(*this, monitor);
        if (monitor.boxWidth == 0.0f)
            PlaceBox(*this, monitor, area);
        else if (mode != SaverMode::Preview)
            MoveBox(monitor, area, seconds);
    }
}

void Saver::ReleaseEnvironment() {
    ReleaseDevices();
    unitCount = 0;
    ReleaseAndClear(direct3d);
}
