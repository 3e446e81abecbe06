// Start-up and the saving phase as a whole, with Direct3D handed out by the factory: what
// Create records when Direct3D has nothing usable, what Run shows, how the full-screen
// flag brackets the saving phase, and the two early ends (no window, a quit message).
#include <gtest/gtest.h>

#include <cstring>

#include "doubles/fake_direct3d.h"
#include "doubles/support.h"
#include "host/saver.h"

namespace {

class ScriptedSaver : public Saver {
public:
    HRESULT prepareResult = S_OK, initResult = S_OK;
    int settingsLoaded = 0, frames = 0, ends = 0;
    bool keyOnFirstFrame = true;
    BOOL runningDuringFrame = FALSE;

    HRESULT PrepareEnumeration() override { return prepareResult; }
    void LoadSettings() override { settingsLoaded++; }
    HRESULT InitScene() override { return initResult; }
    HRESULT CleanupScene() override { ends++; return S_OK; }
    // The first frame notes the system's flag and presses a key.
    HRESULT AdvanceScene() override {
        if (frames++ == 0 && keyOnFirstFrame) {
            ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &runningDuringFrame, 0);
            ::PostMessageA(mainWindow, WM_KEYDOWN, VK_SPACE, 0);
        }
        return S_OK;
    }
};

// Drives a running saving phase from a thread timer: at each tick the next step notes the
// frames drawn so far and changes what can be seen.
struct VisibilityScript {
    ScriptedSaver* saver;
    int step = 0;
    int frames[8] = {};   // at steps 0, 2, ... 14
};
VisibilityScript script;

void SendDisplayState(HWND window, DWORD state) {
    struct {
        POWERBROADCAST_SETTING header;
        BYTE rest[sizeof(DWORD)];
    } change = {};
    change.header.PowerSetting = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    change.header.DataLength = sizeof(DWORD);
    ::CopyMemory(change.header.Data, &state, sizeof(state));
    ::SendMessageA(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, LPARAM(&change));
}

void CALLBACK NextVisibilityStep(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = script.saver->mainWindow;
    if (script.step % 2 == 0) script.frames[script.step / 2] = script.saver->frames;
    switch (script.step++) {
    case 0: ::ShowWindow(window, SW_MINIMIZE); break;
    case 4: ::ShowWindow(window, SW_RESTORE); break;
    case 6: SendDisplayState(window, 0); break;
    case 8: SendDisplayState(window, 1); break;
    case 10: ::SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, 2); break;
    case 12: ::SendMessageA(window, WM_SYSCOMMAND, SC_MONITORPOWER, -1); break;
    case 14: ::PostQuitMessage(0); break;
    }
}

// Create reads the mode from the process's command line. The test program's own is
// rewritten in place (within its first length) to the one the desktop would give.
void SetCommandLine(const char* line) {
    char* own = ::GetCommandLineA();
    static const size_t capacity = std::strlen(own);
    ASSERT_LE(std::strlen(line), capacity);
    std::strcpy(own, line);
}

bool QuitPending() {
    MSG message;
    bool quit = false;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) quit |= message.message == WM_QUIT;
    return quit;
}

class SaverRun : public ::testing::Test {
protected:
    SaverRun() : d3d(new FakeDirect3D) {
        d3d->AddAdapter().monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        InstallFakeDirect3D(d3d.get());
        SetCommandLine("cirrane.scr /c");
    }
    ~SaverRun() override {
        UninstallFakeDirect3D();
        for (MonitorInfo& monitor : saver.monitors)
            if (monitor.window) ::DestroyWindow(monitor.window);
        QuitPending();
    }
    // Run's message box is closed and its text returned ("" when none was shown).
    std::string RunShowingError() {
        std::string shown;
        WatchModal(saver.title, [&](HWND box) { shown = ControlText(box, 0xFFFF); }, IDOK,
                   [&] { saver.Run(); });
        return shown;
    }

    ScratchRegistry registry;
    FakeRef<FakeDirect3D> d3d;
    ScriptedSaver saver;
};

}  // namespace

TEST_F(SaverRun, NoCompatibleDeviceOrAFailedEnumerationIsShownByRun) {
    d3d->adapters[0].hal.available = false;
    ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
    EXPECT_EQ(saver.mode, SaverMode::Configure);
    EXPECT_EQ(saver.errorCode, SAVER_E_NO_COMPATIBLE_DEVICE);
    EXPECT_EQ(saver.settingsLoaded, 0);
    EXPECT_EQ(RunShowingError(), StringResource(2104));
    EXPECT_EQ(saver.direct3d, nullptr);
    EXPECT_EQ(d3d->RefCount(), 1u);

    ScriptedSaver failing;
    failing.prepareResult = E_OUTOFMEMORY;
    failing.Create(::GetModuleHandleA(nullptr));
    EXPECT_EQ(failing.errorCode, E_OUTOFMEMORY);
    EXPECT_EQ(failing.adapterCount, 0u);
    EXPECT_EQ(failing.settingsLoaded, 0);
}

TEST_F(SaverRun, AFailingSceneIsShownAndNeverRuns) {
    ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
    EXPECT_EQ(saver.errorMode, 0u);
    EXPECT_EQ(saver.settingsLoaded, 1);
    saver.mode = SaverMode::Test;
    ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
    saver.initResult = SAVER_E_MEDIA_NOT_FOUND;
    char expected[512];
    saver.GetErrorMessage(SAVER_E_MEDIA_NOT_FOUND, expected, sizeof(expected));
    EXPECT_EQ(RunShowingError(), expected);
    EXPECT_EQ(saver.frames, 0);
}

TEST_F(SaverRun, FullScreenRaisesTheSystemFlagUntilTheEnd) {
    ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
    saver.mode = SaverMode::FullScreen;
    ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
    EXPECT_EQ(saver.RunSaver(), S_OK);   // returns once the key has ended it
    EXPECT_TRUE(saver.runningDuringFrame);
    BOOL running = TRUE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_FALSE(running);
    EXPECT_EQ(saver.ends, 1);
    EXPECT_EQ(saver.unitCount, 0u);
}

// Without any window nothing could post the quit message: the phase ends at once. A
// preview handle that is no window leaves the preview without one; full screen without a
// monitor window is made by hand.
TEST_F(SaverRun, WithoutAWindowTheSavingPhaseEndsAtOnce) {
    SetCommandLine("cirrane.scr /p 12345");
    ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
    EXPECT_EQ(saver.mode, SaverMode::Preview);
    EXPECT_EQ(saver.mainWindow, nullptr);
    EXPECT_EQ(saver.RunSaver(), S_OK);
    saver.mode = SaverMode::FullScreen;
    EXPECT_EQ(saver.RunSaver(), S_OK);
    BOOL running = TRUE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    EXPECT_FALSE(running);
    EXPECT_EQ(saver.ends, 2);
    EXPECT_EQ(saver.frames, 0);
}

// A quit message ends the wait for the preview host before its timer does, and stays
// posted for the main loop.
TEST_F(SaverRun, PreviewWaitEndsOnAQuitMessage) {
    HWND host = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 150,
                                  nullptr, nullptr, nullptr, nullptr);
    saver.mode = SaverMode::Preview;
    saver.parentWindow = host;
    saver.instance = ::GetModuleHandleA(nullptr);
    ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
    ::PostQuitMessage(0);
    saver.WaitForPreviewHost();
    EXPECT_EQ(saver.waitingForPreview, 1u);   // the timer never ticked
    EXPECT_TRUE(QuitPending());
    ::DestroyWindow(host);
    saver.monitors[0].window = nullptr;
}

// Nothing is drawn while the test window is minimised or the display is off, and drawing
// goes on once it can be seen again.
TEST_F(SaverRun, FramesStopWhileNothingCanBeSeen) {
    ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
    saver.mode = SaverMode::Test;
    saver.keyOnFirstFrame = false;
    ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
    script = VisibilityScript{&saver};
    UINT_PTR timer = ::SetTimer(nullptr, 0, 80, NextVisibilityStep);
    EXPECT_EQ(saver.RunSaver(), S_OK);
    ::KillTimer(nullptr, timer);
    const int* f = script.frames;
    EXPECT_GT(f[0], 0);
    EXPECT_EQ(f[2], f[1]) << "drawn while minimised";
    EXPECT_GT(f[3], f[2]) << "not drawn after the restore";
    EXPECT_EQ(f[4], f[3]) << "drawn with the display off";
    EXPECT_GT(f[5], f[4]) << "not drawn with the display back";
    EXPECT_EQ(f[6], f[5]) << "drawn after SC_MONITORPOWER off";
    EXPECT_GT(f[7], f[6]) << "not drawn after SC_MONITORPOWER on";
}
