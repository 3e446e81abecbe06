// Saver windows and their messages.
//
// Owns the window class of every saver window, the windows of the Preview, FullScreen and
// Test modes, the message handling that decides which input ends the saver, the preview
// start-up timer and the shutdown sequence (EndSaver).
//
// Process-wide state: the last mouse position seen by any saver window (below). Windows
// are never destroyed here; they go with the process (or with the preview host). Another
// program may still end one: a saver window's end is always the saver's end.
#include "host/saver.h"

#include "resource_ids.h"

namespace {

// ============================================================================
// Process-wide state
// ============================================================================

// The last mouse position seen by any saver window. It starts off every real position and
// is never reset; the full-screen windows record the pointer's resting place in it when
// they appear (NoteRestingPointer).
POINT lastMousePosition = {-1, -1};

// ============================================================================
// Constants
// ============================================================================

const char kWindowClass[] = "Cirrane ScreensaverWndClass";
const UINT_PTR kPreviewTimer = 1;
const UINT kPreviewTimerPeriod = 500;   // milliseconds
const DWORD kPreviewStyle = WS_CHILD | WS_VISIBLE;
const DWORD kFullScreenStyle = WS_POPUP | WS_VISIBLE;
const DWORD kTestStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
const UINT kMovesBeforeEnd = 5;         // the sixth move to a new position ends the saver

// ============================================================================
// Window creation
// ============================================================================

// A second registration (another Saver in the same process) fails harmlessly: the class
// already exists with the same procedure. A real failure shows up as failing creation.
void RegisterSaverClass(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = Saver::WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDI_CIRRANE));
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassA(&windowClass);
}

HWND CreateSaverWindow(Saver& saver, DWORD exStyle, DWORD style, const RECT& rect, HWND parent) {
    return ::CreateWindowExA(exStyle, kWindowClass, saver.title, style, rect.left, rect.top,
                             rect.right - rect.left, rect.bottom - rect.top, parent, nullptr,
                             saver.instance, &saver);
}

// Preview and Test: the one window holds the whole rendering, on the first monitor entry.
void AdoptSingleWindow(Saver& saver, HWND window) {
    if (!window) return;
    saver.mainWindow = window;
    saver.monitors[0].window = window;
    ::GetClientRect(window, &saver.windowRect);
    saver.renderRect = saver.windowRect;
}

// A child filling the host's client area. A parent handle that is not a window makes
// both calls fail, and the missing window is reported by CreateSaverWindows.
void CreatePreviewWindow(Saver& saver) {
    RECT rect = {};
    ::GetClientRect(saver.parentWindow, &rect);
    ::AdjustWindowRect(&rect, kPreviewStyle, FALSE);
    AdoptSingleWindow(saver, CreateSaverWindow(saver, 0, kPreviewStyle, rect, saver.parentWindow));
}

// A captioned window whose client area is 600 x 400 at (50, 50).
void CreateTestWindow(Saver& saver) {
    RECT rect = {50, 50, 650, 450};
    ::AdjustWindowRect(&rect, kTestStyle, FALSE);
    AdoptSingleWindow(saver, CreateSaverWindow(saver, 0, kTestStyle, rect, nullptr));
}

// The system sends a WM_MOUSEMOVE when a window appears under the pointer. Recording
// where the pointer rests (read before the windows appear, so that the system's own idea
// of it is fresh too), in the client coordinates of the window it rests on, keeps that
// message from counting as the first of the user's moves.
void NoteRestingPointer(const Saver& saver, POINT at) {
    for (UINT i = 0; i < saver.monitorCount; i++) {
        const MonitorInfo& monitor = saver.monitors[i];
        if (!monitor.window || !::PtInRect(&monitor.screenRect, at)) continue;
        ::ScreenToClient(monitor.window, &at);
        lastMousePosition = at;
        return;
    }
}

// One topmost pop-up per attached monitor; the first one owns the others, so they stay
// together above every other window.
HRESULT CreateFullScreenWindows(Saver& saver) {
    saver.mainWindow = nullptr;
    POINT resting = {-1, -1};
    bool pointerKnown = ::GetCursorPos(&resting) != FALSE;
    HRESULT result = S_OK;
    for (UINT i = 0; i < saver.monitorCount; i++) {
        MonitorInfo& monitor = saver.monitors[i];
        if (!monitor.monitorHandle) continue;
        HWND window = CreateSaverWindow(saver, WS_EX_TOPMOST, kFullScreenStyle,
                                        monitor.screenRect, saver.mainWindow);
        if (!window) {
            result = E_FAIL;   // the windows made so far stay
            break;
        }
        monitor.window = window;
        if (!saver.mainWindow) saver.mainWindow = window;
    }
    if (pointerKnown) NoteRestingPointer(saver, resting);
    return result;
}

// ============================================================================
// Message helpers
// ============================================================================

// Windows rendered by a device keep their background: erasing would flash black over
// the scene. Every other saver window is erased with the class's black brush.
bool IsDeviceWindow(const Saver& saver, HWND window) {
    for (UINT i = 0; i < saver.unitCount; i++) {
        UINT ordinal = saver.units[i].adapterOrdinal;
        if (ordinal < saver.adapterCount && ordinal < kMaxAdapters && saver.adapters[ordinal] &&
            saver.adapters[ordinal]->deviceWindow == window)
            return true;
    }
    return false;
}

void PaintSaverWindow(Saver& saver, HWND window) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (saver.mode == SaverMode::Preview && !saver.errorMode) {
        RECT client;
        ::GetClientRect(window, &client);
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    } else {
        saver.PaintMessage(window, dc);
    }
    ::EndPaint(window, &paint);
}

// The system uses the four low bits of a system command itself, so the command is
// compared without them.
bool IsSwitchingCommand(WPARAM command) {
    switch (command & 0xFFF0) {
    case SC_NEXTWINDOW:
    case SC_PREVWINDOW:
    case SC_CLOSE:
    case SC_SCREENSAVE:
        return true;
    default:
        return false;
    }
}

// Someone is at the machine: a display that was off is on again, also where the system
// sends no notification of it.
void NoteInput(Saver& saver) { saver.displayOff = 0; }

// A mouse that merely jitters must not end the saver: only moves to a new position count,
// and the first five of them are forgiven. The test window never ends by input.
void NoteMouseMove(Saver& saver, LPARAM lParam) {
    POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    if (at.x == lastMousePosition.x && at.y == lastMousePosition.y) return;
    lastMousePosition = at;
    NoteInput(saver);
    if (saver.mode == SaverMode::Test) return;
    saver.mouseMoves++;
    if (saver.mouseMoves > kMovesBeforeEnd) saver.EndOrVerify();
}

// Input that ends the saver, outside the test window; any key or button is input all the same.
void NoteEndingInput(Saver& saver) {
    NoteInput(saver);
    if (saver.mode != SaverMode::Test) saver.EndOrVerify();
}

}  // namespace

// ============================================================================
// Saver operations
// ============================================================================

HRESULT Saver::CreateSaverWindows() {
    RegisterSaverClass(instance);
    switch (mode) {
    case SaverMode::Preview:
        CreatePreviewWindow(*this);
        break;
    case SaverMode::FullScreen:
        if (FAILED(CreateFullScreenWindows(*this))) return E_FAIL;
        break;
    case SaverMode::Test:
        CreateTestWindow(*this);
        break;
    default:
        break;
    }
    return mainWindow ? S_OK : E_FAIL;
}

LRESULT CALLBACK Saver::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!instancePointer) return ::DefWindowProcA(window, message, wParam, lParam);
    return instancePointer->HandleMessage(window, message, wParam, lParam);
}

// One case per row of the message table; anything without an explicit result below ends
// in DefWindowProcA.
LRESULT Saver::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        EndSaver();
        break;
    case WM_PAINT:
        PaintSaverWindow(*this, window);
        return 0;
    case WM_CLOSE:   // how another program ends a running saver; the windows stay till the end
        if (mode != SaverMode::FullScreen) break;
        EndOrVerify();
        return 0;
    case WM_ERASEBKGND:
        if (!checkingPassword && IsDeviceWindow(*this, window)) return 1;
        break;
    case WM_ACTIVATEAPP:
        if (wParam == FALSE && mode != SaverMode::Test) EndOrVerify();
        break;
    case WM_SETCURSOR:
        if (mode == SaverMode::FullScreen && !checkingPassword) {
            ::SetCursor(nullptr);
            return 1;
        }
        break;
    case WM_KEYDOWN:
        NoteEndingInput(*this);
        break;
    case WM_SYSKEYDOWN:
        NoteInput(*this);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MONITORPOWER) NoteMonitorPower(lParam);
        if (mode == SaverMode::FullScreen && IsSwitchingCommand(wParam)) return 0;
        break;
    case WM_TIMER:
        waitingForPreview = 0;
        ::KillTimer(window, kPreviewTimer);
        break;
    case WM_MOUSEMOVE:
        NoteMouseMove(*this, lParam);
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        NoteEndingInput(*this);
        break;
    case WM_POWERBROADCAST:
        if (wParam == PBT_POWERSETTINGCHANGE) NoteDisplayState(lParam);
        if (wParam == PBT_APMSUSPEND && !verifyPassword) EndOrVerify();
        break;
    case WM_USER:
        ::SetTimer(window, kPreviewTimer, kPreviewTimerPeriod, nullptr);
        break;
    default:
        break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

// Input may end the saver only in Test and in FullScreen, and never while the password
// dialog is up (its own messages come through here too).
void Saver::EndOrVerify() {
    bool mayEnd = mode == SaverMode::Test || (mode == SaverMode::FullScreen && !checkingPassword);
    if (!mayEnd) return;
    if (isWindows9x && mode == SaverMode::FullScreen && verifyPassword) {
        VerifyPasswordAndResume();
        return;
    }
    EndSaver();
}

// Every step is safe to repeat: input queued before the quit message arrives comes here
// again, and so does the end of every window (those of the other monitors go with the
// first, which owns them).
void Saver::EndSaver() {
    if (mode == SaverMode::FullScreen) {
        BOOL wasRunning = FALSE;
        ::SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &wasRunning, 0);
    }
    EndTimerResolution();
    UnregisterDisplayNotification();
    ReleaseEnvironment();
    CleanupScene();
    ReleasePasswordModule();
    ::PostQuitMessage(0);
}

// No input after the end asks for the password again, nor calls into a freed library. A
// window that ends while the provider's dialog is up (the dialog goes with it) leaves the
// module loaded for Run to free: the provider's code is still on the stack.
void Saver::ReleasePasswordModule() {
    verifyPassword = nullptr;
    if (!passwordModule || checkingPassword) return;
    HMODULE module = passwordModule;
    passwordModule = nullptr;
    ::FreeLibrary(module);
}
