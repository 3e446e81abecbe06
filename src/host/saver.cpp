// Saver: construction, start-up (Create), the run modes (Run) and the saving phase with
// its message loop (RunSaver).
//
// Create never returns a failure: every failure is recorded in errorMode/errorCode and
// shown later, by Run (a message box) or by the saving phase (the error display).
#include "host/saver.h"

#include <mmsystem.h>

#include "host/direct3d_loader.h"
#include "host/release.h"
#include "scene/frame_timer.h"

Saver* Saver::instancePointer = nullptr;

Saver::Saver() { instancePointer = this; }

Saver::~Saver() {
    if (instancePointer == this) instancePointer = nullptr;
}

void Saver::RecordFailure(HRESULT code) {
    errorMode = 1;
    errorCode = code;
}

SaverMode Saver::ParseCommandLine(const char* commandLine) {
    CommandLine parsed = ReadCommandLine(commandLine);
    parentWindow = parsed.parentWindow;
    return parsed.mode;
}

HRESULT Saver::Create(HINSTANCE instanceHandle) {
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_IDLE);
    instance = instanceHandle;
    mode = ParseCommandLine(::GetCommandLineA());

    EnumerateMonitors();

    if (mode == SaverMode::Preview || mode == SaverMode::FullScreen || mode == SaverMode::Test) {
        HRESULT hr = CreateSaverWindows();
        if (FAILED(hr)) RecordFailure(hr);
    }

    if (mode == SaverMode::Preview && mainWindow) WaitForPreviewHost();

    direct3d = CreateDirect3D();
    if (!direct3d) {
        RecordFailure(SAVER_E_NO_DIRECT3D);
        return S_OK;
    }

    HRESULT hr = PrepareEnumeration();
    if (FAILED(hr)) {
        RecordFailure(hr);
        return S_OK;
    }
    hr = EnumerateAdapters();
    if (FAILED(hr)) {
        RecordFailure(hr);
        return S_OK;
    }

    bool anyCompatible = false;
    for (UINT a = 0; a < adapterCount; a++) {
        if (adapters[a] && (adapters[a]->hardwareCompatible || adapters[a]->softwareCompatible))
            anyCompatible = true;
    }
    if (!anyCompatible) {
        RecordFailure(SAVER_E_NO_COMPATIBLE_DEVICE);
        return S_OK;
    }

    LoadSettings();
    return S_OK;
}

// The longest the preview host waits for the preview timer's tick. A timer that could not
// be made, or a tick that never comes, must not keep the preview from ever starting.
const DWORD kPreviewWaitLimit = 3000;   // milliseconds

// The preview host expects the child window to settle before anything is drawn: WM_USER
// starts previewTimer, and its first tick clears waitingForPreview. A quit message or the
// window's end stops the wait early; the quit message is posted again for the main loop.
// Past kPreviewWaitLimit the preview goes on without the tick.
void Saver::WaitForPreviewHost() {
    waitingForPreview = 1;
    ::PostMessageA(mainWindow, WM_USER, 0, 0);
    const DWORD start = ::timeGetTime();
    while (waitingForPreview && ::IsWindow(mainWindow)) {
        MSG message;
        // WM_QUIT belongs to no window, so it is looked for on its own, not among mainWindow's.
        if (::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
            ::PostQuitMessage(0);
            break;
        }
        if (::PeekMessageA(&message, mainWindow, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
            continue;
        }
        DWORD waited = ::timeGetTime() - start;
        if (waited >= kPreviewWaitLimit) break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kPreviewWaitLimit - waited, QS_ALLINPUT);
    }
}

int Saver::Run() {
    switch (mode) {
    case SaverMode::Configure:
        if (errorMode)
            ShowError(errorCode);
        else
            ShowOptions();
        break;
    case SaverMode::Preview:
    case SaverMode::FullScreen:
    case SaverMode::Test: {
        HRESULT hr = RunSaver();
        if (FAILED(hr)) ShowError(hr);
        break;
    }
    case SaverMode::ChangePassword:
        ChangePasswordNow();
        break;
    }
    ReleasePasswordModule();   // held past EndSaver when a window ended during the check
    FreeAdapters();
    ReleaseAndClear(direct3d);
    return 0;
}

HRESULT Saver::RunSaver() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    ::GetVersionExA(&version);
    isWindows9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;

    if (mode == SaverMode::FullScreen && isWindows9x) SetUpPasswordProvider();

    FrameTimer(TIMER_START);

    if (!errorMode) {
        HRESULT hr = InitScene();
        if (FAILED(hr)) return hr;
        CreateEnvironment();
    }

    if (mode == SaverMode::FullScreen) {
        BOOL wasRunning = FALSE;
        ::SystemParametersInfoA(SPI_SCREENSAVERRUNNING, TRUE, &wasRunning, 0);
    }
    if (mode == SaverMode::FullScreen || mode == SaverMode::Test) BeginTimerResolution();

    // Without a window nothing could ever post the quit message: a preview handle that is
    // no window, a test window that could not be made, full screen with no monitor. The
    // saving phase then ends at once, the normal way.
    if (!mainWindow) EndSaver();
    RegisterDisplayNotification();
    RunMessageLoop();
    return S_OK;
}

// The loop's 10 ms sleep lasts a whole tick of the system timer, 15.6 ms by default, which
// leaves too little of a 60 Hz frame to draw in. A 1 ms resolution is asked for while the
// full-screen or test scene runs; the preview, a small picture in a dialog, does without.
// A request still held costs the whole system power, so every end lets it go, once.
void Saver::BeginTimerResolution() {
    if (timerPeriod == 0 && ::timeBeginPeriod(1) == TIMERR_NOERROR) timerPeriod = 1;
}

void Saver::EndTimerResolution() {
    if (timerPeriod == 0) return;
    UINT period = timerPeriod;
    timerPeriod = 0;
    ::timeEndPeriod(period);
}

// Longest wait for a message while nothing can be seen; a bound, so that a missed wake-up
// costs at most this long.
const DWORD kHiddenWaitMilliseconds = 250;

// Messages always come first; a frame (or a step of the error display) is done only when
// the queue is empty, after a 10 ms sleep that keeps the idle-priority thread gentle.
// While nothing can be seen, the loop sleeps until a message arrives instead.
void Saver::RunMessageLoop() {
    MSG message = {};
    while (message.message != WM_QUIT) {
        if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        } else if (!SceneVisible()) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, kHiddenWaitMilliseconds, QS_ALLINPUT);
        } else {
            ::Sleep(10);
            if (errorMode)
                StepErrorMode();
            else
                RenderFrame();
        }
    }
}
