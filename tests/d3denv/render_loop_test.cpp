// The render loop against scripted devices: lost devices, resets, and the error display's
// boxes (on real, hidden windows).
#include <vector>

#include <gmock/gmock.h>

#include "saver_with_fakes.h"

namespace {

using ::testing::ElementsAre;
using ::testing::FloatEq;
using ::testing::Pointwise;

// Logs the scene's steps among the active device's own calls.
class LoopSaver : public CountingSaver {
public:
    HRESULT DrawScene() override { return Note("DrawScene"); }
    HRESULT ReleaseSceneObjects() override { return CountingSaver::ReleaseSceneObjects(), Note("ReleaseSceneObjects"); }
    HRESULT RestoreSceneObjects() override {
        Note("RestoreSceneObjects");
        return CountingSaver::RestoreSceneObjects();
    }
    HRESULT Note(const char* step) {
        if (activeDevice) static_cast<FakeDevice*>(activeDevice)->calls.push_back(step);
        return S_OK;
    }
};

class RenderLoop : public SaverWithFakesOf<LoopSaver> {
protected:
    LoopSaver& loop = saver;
    HWND windows[2] = {};

    ~RenderLoop() override {
        loop.ReleaseEnvironment();
        for (HWND window : windows) ::DestroyWindow(window);
    }
    void Start(int monitors = 2, SaverMode mode = SaverMode::FullScreen) {
        for (int i = 0; i < monitors; i++) {
            AddAdapterWithMonitor();
            loop.monitors[i].window = windows[i] = ::CreateWindowExA(
                0, "STATIC", "", WS_POPUP, 1024 * i, 0, 1024, 768, nullptr, nullptr, nullptr, nullptr);
        }
        loop.mode = mode;
        Enumerate();
        loop.CreateEnvironment();
        ASSERT_EQ(loop.unitCount, UINT(monitors));
        ASSERT_EQ(loop.errorMode, 0u);
        for (int i = 0; i < monitors; i++) Device(i).ClearLog();
    }
    FakeDevice& Device(UINT unit) { return *static_cast<FakeDevice*>(loop.units[unit].device); }
};

std::vector<float> Box(const MonitorInfo& m) {
    return {m.boxX, m.boxY, m.boxWidth, m.boxHeight, m.boxSpeedX, m.boxSpeedY};
}

}  // namespace

// Every unit is drawn before any is presented.
TEST_F(RenderLoop, LostUnitsEndTheStepAndUnitsNeedingAResetAreResetAndRestored) {
    Start();
    Device(1).cooperativeLevel = D3DERR_DEVICELOST;
    EXPECT_EQ(loop.RenderFrame(), S_OK);
    EXPECT_THAT(Device(0).calls, ElementsAre("DrawScene"));
    EXPECT_THAT(Device(1).calls, ElementsAre());
    Device(1).cooperativeLevel = D3D_OK;
    Device(0).ClearLog();
    Device(0).cooperativeLevelResults = {D3DERR_DEVICENOTRESET};
    loop.RenderFrame();
    EXPECT_THAT(Device(0).calls, ElementsAre("ReleaseSceneObjects", "Reset", "RestoreSceneObjects",
                                             "DrawScene", "Present"));
    EXPECT_THAT(Device(1).calls, ElementsAre("DrawScene", "Present"));
    EXPECT_EQ(loop.units[0].objectsRestored, 1u);
    EXPECT_EQ(loop.errorMode, 0u);
}

TEST_F(RenderLoop, AFailedResetSwitchesToTheErrorDisplay) {
    Start();
    Device(1).cooperativeLevelResults = {D3DERR_DEVICENOTRESET};
    Device(1).resetResult = D3DERR_INVALIDCALL;
    loop.RenderFrame();
    EXPECT_EQ(loop.errorMode, 1u);
    EXPECT_EQ(loop.errorCode, S_OK);
    loop.StepErrorMode();
    EXPECT_EQ(loop.unitCount, 0u);
    EXPECT_EQ(loop.direct3d, nullptr);
    EXPECT_EQ(d3d->RefCount(), 1u);   // devices and the Direct3D object all let go
    EXPECT_STREQ(loop.errorText, "There was an unspecified problem with this screen saver.");
    EXPECT_EQ(loop.releases, loop.restores);
    EXPECT_EQ(loop.destroys, loop.creates);
}

TEST_F(RenderLoop, ErrorBoxesStartCentredAndBounceOffTheMonitorEdges) {
    Start();
    loop.RecordFailure(SAVER_E_CREATE_DEVICE_FAILED);
    const DWORD before = ::timeGetTime();
    loop.StepErrorMode();
    EXPECT_EQ(loop.unitCount, 0u);
    for (const MonitorInfo& m : {loop.monitors[0], loop.monitors[1]})   // in window coordinates
        EXPECT_THAT(Box(m), Pointwise(FloatEq(), {362.0f, 309.0f, 300.0f, 150.0f, 102.4f, 38.4f}));
    EXPECT_STREQ(loop.errorText, "Could not create the Direct3D device.");

    MonitorInfo& monitor = loop.monitors[0];
    monitor.boxX = 1024.0f - 300.0f - 0.01f;   // about to leave on the right
    monitor.boxY = 0.01f;                      // and at the top
    monitor.boxSpeedY = -38.4f;
    ::Sleep(50);
    loop.StepErrorMode();
    const float moved = loop.monitors[1].boxX - 362.0f;
    EXPECT_GT(moved, 0.0f);
    EXPECT_LE(moved, 102.4f * float(::timeGetTime() - before) * 0.001f + 0.01f);
    EXPECT_LT(monitor.boxSpeedX, 0.0f);
    EXPECT_GT(monitor.boxSpeedY, 0.0f);
    EXPECT_LT(monitor.boxX + monitor.boxWidth, 1024.0f);
    EXPECT_GT(monitor.boxY, 0.0f);
}
