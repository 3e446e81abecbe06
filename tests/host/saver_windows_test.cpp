// Saver windows and their messages, on Wine's real windows: what each mode creates and
// which input ends the saver in which mode.
#include <gtest/gtest.h>

#include "host/saver.h"

namespace {

// Counts the ends of the saver (EndSaver always calls CleanupScene) and the paints.
class RecordingSaver : public Saver {
public:
    int ends = 0;
    int paints = 0;
    HRESULT CleanupScene() override { ends++; return S_OK; }
    void PaintMessage(HWND, HDC) override { paints++; }
};

// Drops what the windows left queued (a pending paint is validated, or it would come back).
void DrainQueue() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        if (message.message == WM_PAINT) ::ValidateRect(message.hwnd, nullptr);
}

// Every position handed out is new: the last mouse position is shared by the process.
LPARAM FreshPosition() {
    static int next = 100;
    next++;
    return MAKELPARAM(next, next % 7);
}

HWND MakeHostWindow(int clientWidth, int clientHeight) {
    RECT rect = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    return ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                             rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                             nullptr, nullptr);
}

void OpenSaver(RecordingSaver& saver, SaverMode mode, HWND parent = nullptr) {
    saver.mode = mode;
    saver.instance = ::GetModuleHandleA(nullptr);
    saver.parentWindow = parent;
    if (saver.monitorCount == 0) {
        saver.monitorCount = 2;
        saver.monitors[0].monitorHandle = HMONITOR(1);
        saver.monitors[0].screenRect = {0, 0, 640, 480};
        saver.monitors[1].monitorHandle = HMONITOR(2);
        saver.monitors[1].screenRect = {640, 0, 1280, 512};
    }
    ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
}

void CloseSaver(RecordingSaver& saver) {
    for (MonitorInfo& monitor : saver.monitors) {
        if (monitor.window) ::DestroyWindow(monitor.window);
        monitor.window = nullptr;
    }
    DrainQueue();
}

class SaverWindows : public ::testing::Test {
protected:
    RecordingSaver saver;

    void Open(SaverMode mode, HWND parent = nullptr) { OpenSaver(saver, mode, parent); }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(saver.mainWindow, message, wParam, lParam);
    }
    void TearDown() override { CloseSaver(saver); }
};

}  // namespace

// The end-to-end run checks the test window's place and size and its end by closing.
TEST_F(SaverWindows, TestWindowHasTheIconAndEndsBySuspendOrClosing) {
    Open(SaverMode::Test);
    EXPECT_NE(::GetClassLongPtrA(saver.mainWindow, GCLP_HICON), 0);
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND);
    Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(::IsWindow(saver.mainWindow));
    EXPECT_EQ(saver.ends, 2);
}

TEST_F(SaverWindows, FullScreenCoversEveryAttachedMonitorOwnedByTheFirst) {
    saver.monitors[0] = {};
    saver.monitors[0].monitorHandle = HMONITOR(1);
    saver.monitors[0].screenRect = {0, 0, 640, 480};
    saver.monitors[1].screenRect = {0, 0, 800, 600};   // not attached: no handle
    saver.monitors[2].monitorHandle = HMONITOR(2);
    saver.monitors[2].screenRect = {640, 0, 1280, 512};
    saver.monitorCount = 3;
    Open(SaverMode::FullScreen);
    HWND first = saver.monitors[0].window, second = saver.monitors[2].window;
    ASSERT_TRUE(first && second);
    EXPECT_EQ(saver.mainWindow, first);
    EXPECT_EQ(saver.monitors[1].window, nullptr);
    EXPECT_EQ(::GetWindow(second, GW_OWNER), first);
    RECT rect;
    ::GetWindowRect(second, &rect);
    EXPECT_TRUE(::EqualRect(&rect, &saver.monitors[2].screenRect));
    EXPECT_TRUE(::GetWindowLongA(first, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// A preview needs a host window; its child paints the message only in error mode. The
// end-to-end run checks that the child fills the host and ends with it.
TEST_F(SaverWindows, PreviewNeedsAHostAndPaintsOnlyErrors) {
    saver.mode = SaverMode::Preview;
    saver.parentWindow = HWND(4711);   // not a window
    EXPECT_EQ(saver.CreateSaverWindows(), E_FAIL);
    HWND host = MakeHostWindow(152, 112);
    Open(SaverMode::Preview, host);
    EXPECT_EQ(saver.windowRect.right, 152);
    EXPECT_EQ(saver.windowRect.bottom, 112);
    for (int error : {0, 1}) {
        saver.errorMode = error;
        ::RedrawWindow(saver.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        EXPECT_EQ(saver.paints, error);
    }
    ::DestroyWindow(host);
}

// The system's WM_MOUSEMOVE for a window appearing under a resting pointer is no move.
TEST_F(SaverWindows, SixthMoveToANewPositionEndsAndRepeatsNeverCount) {
    ::SetCursorPos(100, 50);
    Open(SaverMode::FullScreen);
    Send(WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    EXPECT_EQ(saver.mouseMoves, 0u);
    for (int i = 0; i < 5; i++) {
        LPARAM at = FreshPosition();
        Send(WM_MOUSEMOVE, 0, at);
        Send(WM_MOUSEMOVE, 0, at);
    }
    EXPECT_EQ(saver.mouseMoves, 5u);
    EXPECT_EQ(saver.ends, 0);
    Send(WM_MOUSEMOVE, 0, FreshPosition());
    EXPECT_EQ(saver.ends, 1);
    Send(WM_MOUSEMOVE, 0, FreshPosition());   // every further move ends again
    EXPECT_EQ(saver.ends, 2);
}

// Keys, buttons, moves and loss of activation end only a full-screen saver.
TEST(SaverInput, EndsOnlyFullScreen) {
    const UINT inputs[] = {WM_KEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_ACTIVATEAPP};
    for (SaverMode mode : {SaverMode::FullScreen, SaverMode::Preview, SaverMode::Test}) {
        HWND host = mode == SaverMode::Preview ? MakeHostWindow(100, 80) : nullptr;
        RecordingSaver saver;
        OpenSaver(saver, mode, host);
        int expected = mode == SaverMode::FullScreen ? 1 : 0;
        for (UINT message : inputs) {
            saver.ends = 0;
            ::SendMessageA(saver.mainWindow, message, 0, 0);
            EXPECT_EQ(saver.ends, expected) << "mode " << int(mode) << " message " << message;
        }
        saver.ends = 0;
        for (int i = 0; i < 6; i++) ::SendMessageA(saver.mainWindow, WM_MOUSEMOVE, 0, FreshPosition());
        ::SendMessageA(saver.mainWindow, WM_ACTIVATEAPP, TRUE, 0);
        EXPECT_EQ(saver.ends, expected) << "mode " << int(mode);
        CloseSaver(saver);
        if (host) ::DestroyWindow(host);
    }
}

// The system asks the CBT hook before DefWindowProcA carries out a system command, so
// the hook sees exactly the commands that reached the default handling.
static int systemCommandsCarriedOut = 0;
static LRESULT CALLBACK CountSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_SYSCOMMAND) {
        systemCommandsCarriedOut++;
        return 1;   // and keep the command from acting on the test's windows
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SaverWindows, FullScreenSwallowsTheSwitchingCommands) {
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, CountSystemCommands, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook);
    const WPARAM commands[] = {SC_NEXTWINDOW, SC_PREVWINDOW, SC_CLOSE, SC_SCREENSAVE, SC_CLOSE | 2};
    for (SaverMode mode : {SaverMode::Test, SaverMode::FullScreen}) {
        Open(mode);
        const int endsBefore = saver.ends;
        systemCommandsCarriedOut = 0;
        for (WPARAM command : commands) Send(WM_SYSCOMMAND, command);
        // The system's low four bits do not matter: SC_CLOSE | 2 is still SC_CLOSE.
        EXPECT_EQ(systemCommandsCarriedOut, mode == SaverMode::Test ? 5 : 0) << int(mode);
        Send(WM_SYSCOMMAND, SC_MINIMIZE);   // not a switching command: default handling
        EXPECT_EQ(systemCommandsCarriedOut, mode == SaverMode::Test ? 6 : 1) << int(mode);
        EXPECT_EQ(saver.ends, endsBefore) << int(mode);
        CloseSaver(saver);
    }
    ::UnhookWindowsHookEx(hook);
}

// A suspend ends a full-screen saver only without a password check (and never asks for
// the password); nothing ends it while the password dialog is up.
static int verifications = 0;
static BOOL WINAPI RejectPassword(HWND) {
    verifications++;
    return FALSE;
}

TEST_F(SaverWindows, PasswordStateHoldsBackTheEnd) {
    Open(SaverMode::FullScreen);
    saver.isWindows9x = 1;
    saver.verifyPassword = RejectPassword;
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND);
    EXPECT_EQ(verifications, 0);
    saver.verifyPassword = nullptr;
    saver.checkingPassword = 1;
    Send(WM_KEYDOWN);
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_EQ(saver.ends, 0);
    saver.checkingPassword = 0;
    Send(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND);
    EXPECT_EQ(saver.ends, 0);
    Send(WM_POWERBROADCAST, PBT_APMSUSPEND);
    EXPECT_EQ(saver.ends, 1);
}

TEST_F(SaverWindows, CursorIsHiddenInFullScreenExceptDuringThePasswordCheck) {
    Open(SaverMode::FullScreen);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(Send(WM_SETCURSOR, WPARAM(saver.mainWindow), overClient), 1);
    EXPECT_EQ(::GetCursor(), nullptr);
    saver.checkingPassword = 1;
    Send(WM_SETCURSOR, WPARAM(saver.mainWindow), overClient);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

// A rendered window keeps its background; any other saver window is erased black.
TEST_F(SaverWindows, OnlyDeviceWindowsKeepTheirBackground) {
    Open(SaverMode::FullScreen);
    AdapterInfo adapter = {};
    adapter.deviceWindow = saver.monitors[1].window;
    saver.adapters[0] = &adapter;
    saver.adapterCount = 1;
    saver.unitCount = 1;
    HDC dc = ::CreateCompatibleDC(nullptr);
    HBITMAP bitmap = ::CreateBitmap(8, 8, 1, 32, nullptr);
    ::SelectObject(dc, bitmap);
    for (int i = 0; i < 2; i++) {
        ::PatBlt(dc, 0, 0, 8, 8, WHITENESS);
        ::SendMessageA(saver.monitors[i].window, WM_ERASEBKGND, WPARAM(dc), 0);
        EXPECT_EQ(::GetPixel(dc, 4, 4), i == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    }
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    saver.unitCount = 0;
    saver.adapters[0] = nullptr;
}

TEST_F(SaverWindows, PreviewWaitLastsOneTimerTick) {
    HWND host = MakeHostWindow(100, 80);
    Open(SaverMode::Preview, host);
    DWORD start = ::GetTickCount();
    saver.WaitForPreviewHost();
    DWORD waited = ::GetTickCount() - start;
    EXPECT_EQ(saver.waitingForPreview, 0u);
    EXPECT_GE(waited, 400u);
    EXPECT_LT(waited, 2000u);
    ::Sleep(600);   // the timer is gone after its one tick
    MSG message;
    EXPECT_FALSE(::PeekMessageA(&message, saver.mainWindow, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    ::DestroyWindow(host);
}

TEST(EndSaver, IsSafeToRepeatAndFreesThePasswordModule) {
    RecordingSaver saver;
    saver.mode = SaverMode::Test;
    saver.passwordModule = ::LoadLibraryA("mpr.dll");
    ASSERT_NE(saver.passwordModule, nullptr);
    saver.verifyPassword = [](HWND) WINAPI -> BOOL { return TRUE; };
    saver.EndSaver();
    saver.EndSaver();
    EXPECT_EQ(saver.ends, 2);
    EXPECT_EQ(saver.passwordModule, nullptr);
    EXPECT_EQ(saver.verifyPassword, nullptr);   // never called into a freed module
    MSG message;
    EXPECT_TRUE(::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    DrainQueue();
}
