// Start-up and the saving phase as a whole, with Direct3D handed out by the factory.
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
    BOOL runningDuringFrame = FALSE;
    UINT timerPeriodDuringFrame = 0;

    HRESULT PrepareEnumeration() override { return prepareResult; }
    void LoadSettings() override { settingsLoaded++; }
    HRESULT InitScene() override { return initResult; }
    HRESULT CleanupScene() override { ends++; return S_OK; }
    HRESULT AdvanceScene() override {
        if (frames++ == 0) {
            ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &runningDuringFrame, 0);
            timerPeriodDuringFrame = timerPeriod;
            ::PostMessageA(mainWindow, WM_CLOSE, 0, 0);   // as another program would
        }
        return S_OK;
    }
};

BOOL SystemSaverRunning() {
    BOOL running = TRUE;
    ::SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0);
    return running;
}

// Create reads the process's command line: the test program's own is rewritten in place.
void SetCommandLine(const char* line) {
    char* own = ::GetCommandLineA();
    static const size_t capacity = std::strlen(own);
    ASSERT_LE(std::strlen(line), capacity);
    std::strcpy(own, line);
}

class SaverRun : public ::testing::Test {
protected:
    SaverRun() : d3d(new FakeDirect3D) {
        d3d->AddAdapter().monitor = ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
        InstallFakeDirect3D(d3d.get());
        SetCommandLine("cirrane.scr /c");
    }
    ~SaverRun() override {
        InstallFakeDirect3D(nullptr);
        CloseWindows();
    }
    void CloseWindows() {
        for (MonitorInfo& monitor : saver.monitors)
            if (monitor.window) ::DestroyWindow(monitor.window);
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (message.message == WM_PAINT) ::ValidateRect(message.hwnd, nullptr);
    }
    void Start(SaverMode mode, HWND host = nullptr) {
        ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
        saver.mode = mode;
        saver.parentWindow = host;
        ASSERT_EQ(saver.CreateSaverWindows(), S_OK);
    }
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
    Start(SaverMode::Test);
    EXPECT_EQ(saver.errorMode, 0u);
    EXPECT_EQ(saver.settingsLoaded, 1);
    saver.initResult = SAVER_E_MEDIA_NOT_FOUND;
    char expected[512];
    saver.GetErrorMessage(SAVER_E_MEDIA_NOT_FOUND, expected, sizeof(expected));
    EXPECT_EQ(RunShowingError(), expected);
    EXPECT_EQ(saver.frames, 0);
}

// The system flag in full screen, the 1 ms timer resolution in full screen and the test
// window, each held until the end; the preview holds neither.
TEST_F(SaverRun, SavingPhaseHoldsTheSystemFlagAndTimerResolutionUntilTheEnd) {
    HWND host = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 152, 112, nullptr, nullptr,
                                  nullptr, nullptr);
    for (SaverMode mode : {SaverMode::FullScreen, SaverMode::Test, SaverMode::Preview}) {
        Start(mode, mode == SaverMode::Preview ? host : nullptr);
        saver.frames = saver.ends = 0;
        UINT_PTR backstop = ::SetTimer(nullptr, 0, 3000,
                                       [](HWND, UINT, UINT_PTR, DWORD) CALLBACK { ::PostQuitMessage(0); });
        EXPECT_EQ(saver.RunSaver(), S_OK);
        ::KillTimer(nullptr, backstop);
        EXPECT_EQ(saver.runningDuringFrame, mode == SaverMode::FullScreen);
        EXPECT_EQ(saver.timerPeriodDuringFrame, mode == SaverMode::Preview ? 0u : 1u);
        EXPECT_FALSE(SystemSaverRunning());
        EXPECT_EQ(saver.timerPeriod, 0u);
        EXPECT_EQ(saver.ends, 1) << int(mode);
        EXPECT_EQ(saver.unitCount, 0u);
        saver.FreeAdapters();
        CloseWindows();
    }
    ::DestroyWindow(host);
}

// Without any window nothing could post the quit message.
TEST_F(SaverRun, WithoutAWindowTheSavingPhaseEndsAtOnce) {
    SetCommandLine("cirrane.scr /p 12345");
    ASSERT_EQ(saver.Create(::GetModuleHandleA(nullptr)), S_OK);
    EXPECT_EQ(saver.mode, SaverMode::Preview);
    EXPECT_EQ(saver.mainWindow, nullptr);
    EXPECT_EQ(saver.RunSaver(), S_OK);
    saver.mode = SaverMode::FullScreen;
    EXPECT_EQ(saver.RunSaver(), S_OK);
    EXPECT_FALSE(SystemSaverRunning());
    EXPECT_EQ(saver.ends, 2);
    EXPECT_EQ(saver.frames, 0);
}
