// Saver windows and their messages on Wine's real windows.
#include <gtest/gtest.h>

#include "host/saver.h"

namespace {

class RecordingSaver : public Saver {
public:
    int ends = 0;
    int paints = 0;
    bool timerLost = false;   // WM_USER never starts the preview timer
    HRESULT CleanupScene() override { ends++; return S_OK; }
    void PaintMessage(HWND, HDC) override { paints++; }
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        return message == WM_USER && timerLost ? 0 : Saver::HandleMessage(window, message, wParam, lParam);
    }
};

// Drops what the windows left queued; tells whether a quit message was among it.
bool DrainQueue() {
    MSG message;
    bool quit = false;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_PAINT) ::ValidateRect(message.hwnd, nullptr);
        quit |= message.message == WM_QUIT;
    }
    return quit;
}

// Every position handed out is new: the last mouse position is shared by the process.
LPARAM FreshPosition() {
    static int next = 100;
    next++;
    return MAKELPARAM(next, next % 7);
}

class SaverWindows : public ::testing::Test {
protected:
    // Three monitors, the second not attached (no handle); a preview host of 152 x 112.
    void Open(SaverMode mode) {
        saver.mode = mode;
        saver.instance = ::GetModuleHandleA(nullptr);
        if (mode == SaverMode::Preview && !host)
            host = ::CreateWindowExA(0, "STATIC", "host", WS_POPUP | WS_VISIBLE, 10, 10, 152, 112, nullptr,
                                     nullptr, nullptr, nullptr);
        saver.parentWindow = mode == SaverMode::Preview ? host : nullptr;
        const RECT rects[3] = {{0, 0, 640, 480}, {0, 0, 800, 600}, {640, 0, 1280, 512}};
        for (int i = 0; i < 3; i++) {
            saver.monitors[i].screenRect = rects[i];
            saver.monitors[i].monitorHandle = i == 1 ? nullptr : HMONITOR(INT_PTR(i + 1));
        }
        saver.monitorCount = 3;
        ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
    }
    void Close() {
        for (MonitorInfo& monitor : saver.monitors) {
            if (monitor.window) ::DestroyWindow(monitor.window);
            monitor.window = nullptr;
        }
        DrainQueue();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageA(saver.mainWindow, message, wParam, lParam);
    }
    void TearDown() override {
        Close();
        if (host) ::DestroyWindow(host);
    }

    RecordingSaver saver;
    HWND host = nullptr;
};

}  // namespace

// Full screen ends on the sixth move to a new place and every one after it; a repeated
// place never counts.
TEST_F(SaverWindows, InputThatEndsEachMode) {
    const struct {
        UINT message;
        WPARAM wParam;
        int ends[3];   // full screen, preview, test
    } rows[] = {
        {WM_KEYDOWN, 0, {1, 0, 0}}, {WM_LBUTTONDOWN, 0, {1, 0, 0}}, {WM_RBUTTONDOWN, 0, {1, 0, 0}},
        {WM_MBUTTONDOWN, 0, {1, 0, 0}}, {WM_ACTIVATEAPP, FALSE, {1, 0, 0}}, {WM_ACTIVATEAPP, TRUE, {0, 0, 0}},
        {WM_POWERBROADCAST, PBT_APMSUSPEND, {1, 0, 1}}, {WM_POWERBROADCAST, PBT_APMQUERYSUSPEND, {0, 0, 0}},
        {WM_MOUSEMOVE, 0, {2, 0, 0}},   // seven places, each twice
        {WM_SYSCOMMAND, SC_CLOSE, {0, 1, 1}},
    };
    const SaverMode modes[] = {SaverMode::FullScreen, SaverMode::Preview, SaverMode::Test};
    for (int m = 0; m < 3; m++) {
        Open(modes[m]);
        for (const auto& row : rows) {
            saver.ends = 0;
            const bool move = row.message == WM_MOUSEMOVE;
            for (int i = 0; i < (move ? 7 : 1); i++) {
                LPARAM at = move ? FreshPosition() : 0;
                Send(row.message, row.wParam, at);
                if (move) Send(row.message, row.wParam, at);
            }
            EXPECT_EQ(saver.ends, row.ends[m]) << "mode " << m << " message " << row.message;
        }
        Close();
    }
}

// The CBT hook sees exactly the system commands that reached the default handling.
int systemCommandsCarriedOut = 0;
LRESULT CALLBACK CountSystemCommands(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HCBT_SYSCOMMAND) return ::CallNextHookEx(nullptr, code, wParam, lParam);
    systemCommandsCarriedOut++;
    return 1;   // and keep the command from acting on the test's windows
}

// The system's low four bits do not matter: SC_CLOSE | 2 is still SC_CLOSE.
// The system's move for a window appearing under a resting pointer is no move of the user's,
// also on a monitor away from the origin, where screen and client coordinates differ.
TEST_F(SaverWindows, RestingPointerOnAMonitorAwayFromTheOriginIsNoMove) {
    ::SetCursorPos(700, 40);   // on the third monitor, which starts at x 640
    Open(SaverMode::FullScreen);
    ::SendMessageA(saver.monitors[2].window, WM_MOUSEMOVE, 0, MAKELPARAM(60, 40));
    EXPECT_EQ(saver.mouseMoves, 0u);
}

TEST_F(SaverWindows, FullScreenSwallowsTheSwitchingCommands) {
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, CountSystemCommands, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(hook);
    for (SaverMode mode : {SaverMode::Test, SaverMode::FullScreen}) {
        Open(mode);
        systemCommandsCarriedOut = 0;
        for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_CLOSE, SC_SCREENSAVE, SC_CLOSE | 2})
            Send(WM_SYSCOMMAND, command);
        EXPECT_EQ(systemCommandsCarriedOut, mode == SaverMode::Test ? 5 : 0) << int(mode);
        Send(WM_SYSCOMMAND, SC_MINIMIZE);   // not a switching command: default handling
        EXPECT_EQ(systemCommandsCarriedOut, mode == SaverMode::Test ? 6 : 1) << int(mode);
        EXPECT_EQ(saver.ends, 0) << int(mode);
        Close();
        saver.ends = 0;   // closing the test window ends it
    }
    ::UnhookWindowsHookEx(hook);
}

// (The end-to-end run checks that a suspend never asks for the password.)
TEST_F(SaverWindows, PasswordStateHoldsBackTheEndAndShowsTheCursor) {
    Open(SaverMode::FullScreen);
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
    EXPECT_EQ(Send(WM_SETCURSOR, WPARAM(saver.mainWindow), overClient), 1);
    EXPECT_EQ(::GetCursor(), nullptr);
    saver.checkingPassword = 1;
    Send(WM_KEYDOWN);
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_EQ(saver.ends, 0);
    Send(WM_SETCURSOR, WPARAM(saver.mainWindow), overClient);
    EXPECT_EQ(::GetCursor(), ::LoadCursorA(nullptr, IDC_ARROW));
}

BOOL WINAPI Rejected(HWND) { return FALSE; }
BOOL WINAPI Accepted(HWND) { return TRUE; }

// Another program ends a running saver by posting WM_CLOSE: in full screen it asks for the
// password where there is one, the windows staying. A window's end ends the saver whatever
// the password. Sent here, so no activation changes hands. The system's "saver running"
// flag is dropped for this session only, never saved.
TEST_F(SaverWindows, FullScreenEndsWhenClosedOrDestroyed) {
    const char desktop[] = "Control Panel\\Desktop", saved[] = "WINE_ScreenSaverRunning";
    ::RegDeleteKeyValueA(HKEY_CURRENT_USER, desktop, saved);
    const struct {
        VerifyScreenSavePwdFn verify;
        int endsOnClose;
    } rows[] = {{nullptr, 1}, {Rejected, 0}, {Accepted, 1}};
    for (const auto& row : rows) {
        Open(SaverMode::FullScreen);
        saver.ends = 0;
        saver.isWindows9x = 1;
        saver.verifyPassword = row.verify;
        EXPECT_EQ(Send(WM_CLOSE), 0);
        EXPECT_TRUE(::IsWindow(saver.mainWindow));
        EXPECT_EQ(saver.ends, row.endsOnClose);
        EXPECT_EQ(DrainQueue(), row.endsOnClose == 1);
        Send(WM_DESTROY);
        EXPECT_EQ(saver.ends, row.endsOnClose + 1);
        EXPECT_TRUE(DrainQueue());
        Close();
    }
    EXPECT_NE(::RegGetValueA(HKEY_CURRENT_USER, desktop, saved, RRF_RT_ANY, nullptr, nullptr, nullptr), 0);
}

// The provider's dialog goes with the window that owns it. The saver ends, recreates nothing,
// asks no more, and frees the provider only once its code has returned.
TEST_F(SaverWindows, WindowDestroyedDuringThePasswordCheckEndsTheSaver) {
    Open(SaverMode::FullScreen);
    saver.isWindows9x = 1;
    saver.passwordModule = ::LoadLibraryA("mpr.dll");
    saver.verifyPassword = [](HWND window) WINAPI -> BOOL {
        ::DestroyWindow(window);   // and the other monitor's window, which it owns
        return Saver::instancePointer->passwordModule == nullptr;
    };
    Send(WM_CLOSE);
    EXPECT_EQ(saver.ends, 2);
    EXPECT_TRUE(DrainQueue());
    saver.EndOrVerify();   // input queued before the quit message
    EXPECT_EQ(saver.ends, 3);
    EXPECT_EQ(saver.passwordModule, nullptr);
}

// SC_MONITORPOWER's low-power state changes nothing. Where no notification says that the
// display is back, input in the test window does. The console display state, unknown before
// Windows 8, gives way to the monitor's power.
TEST_F(SaverWindows, SceneIsSeenOnlyWhileRestoredAndTheDisplayIsOn) {
    Open(SaverMode::Test);
    struct {
        POWERBROADCAST_SETTING header;
        BYTE rest[3];
    } off = {{{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, 4}}, on = off,
      monitorOff = {{{0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}}, 4}};
    on.header.Data[0] = 1;
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool visible;
    } steps[] = {
        {WM_SYSCOMMAND, SC_MINIMIZE, 0, false}, {WM_SYSCOMMAND, SC_RESTORE, 0, true},
        {WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, LPARAM(&off), false},
        {WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, LPARAM(&on), true},
        {WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, LPARAM(&monitorOff), false}, {WM_KEYDOWN, 0, 0, true},
        {WM_SYSCOMMAND, SC_MONITORPOWER, 2, false}, {WM_SYSCOMMAND, SC_MONITORPOWER, 1, false},
        {WM_MOUSEMOVE, 0, FreshPosition(), true},
        {WM_SYSCOMMAND, SC_MONITORPOWER, 2, false}, {WM_SYSCOMMAND, SC_MONITORPOWER, -1, true},
    };
    EXPECT_TRUE(saver.SceneVisible());
    for (const auto& step : steps) {
        Send(step.message, step.wParam, step.lParam);
        EXPECT_EQ(saver.SceneVisible(), step.visible) << step.message << " " << step.lParam;
    }
    static int registrations = 0;   // a system that refuses the console display state
    const RegisterPowerSettingNotificationFn monitorPowerOnly = [](HANDLE, LPCGUID setting, DWORD) WINAPI -> PVOID {
        registrations++;
        return setting->Data1 == 0x02731015 ? &registrations : nullptr;
    };
    for (bool windows8 : {true, false}) {
        saver.displayNotification = nullptr;   // none the system knows of
        saver.RegisterDisplayNotification(monitorPowerOnly, windows8);
        EXPECT_EQ(saver.displayNotification, &registrations);
    }
    EXPECT_EQ(registrations, 3);   // Vista and 7 are not asked for the console display state
    saver.displayNotification = nullptr;
}

// A quit message ends the wait early and stays posted for the main loop; a tick that never
// comes holds the preview three seconds at most; a window that is gone ends the wait at once.
TEST_F(SaverWindows, PreviewWaitLastsOneTimerTickAtMostOrUntilAQuitMessage) {
    Open(SaverMode::Preview);
    ::PostQuitMessage(0);
    saver.WaitForPreviewHost();
    EXPECT_EQ(saver.waitingForPreview, 1u);   // the timer never ticked
    EXPECT_TRUE(DrainQueue());
    DWORD start = ::GetTickCount();
    saver.WaitForPreviewHost();
    DWORD waited = ::GetTickCount() - start;
    EXPECT_EQ(saver.waitingForPreview, 0u);
    EXPECT_GE(waited, 400u);
    EXPECT_LT(waited, 2000u);
    ::Sleep(600);   // the timer is gone after its one tick
    MSG message;
    EXPECT_FALSE(::PeekMessageA(&message, saver.mainWindow, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    saver.timerLost = true;
    for (DWORD least : {2500u, 0u}) {   // then without a window
        start = ::GetTickCount();
        saver.WaitForPreviewHost();
        waited = ::GetTickCount() - start;
        EXPECT_GE(waited, least);
        EXPECT_LT(waited, least + 1000u);
        Close();
    }
}
