// The frame timer's rules on a scripted clock of either kind.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

#include "gfxutil/double_precision.h"
#include "scene/frame_timer.h"
#include "scene/frame_timer_clock.h"

namespace {

// The ACPI timer's odd rate: a tenth of it does not come out even.
const LONGLONG kRate = 3579545;
LONGLONG fakeFrequency = 0;
LONGLONG fakeCounter = 0;
DWORD fakeMilliseconds = 0;

BOOL WINAPI FakeFrequency(LARGE_INTEGER* f) { f->QuadPart = fakeFrequency; return fakeFrequency != 0; }
BOOL WINAPI FakeCounter(LARGE_INTEGER* c) { c->QuadPart = fakeCounter; return TRUE; }
DWORD WINAPI FakeMilliseconds() { return fakeMilliseconds; }
BOOL WINAPI NoCounter(LARGE_INTEGER*) { return FALSE; }
const FrameTimerClock kFakeClock = {FakeFrequency, FakeCounter, FakeMilliseconds};

void SetNow(double seconds) {
    fakeCounter = std::llround(seconds * kRate);
    fakeMilliseconds = static_cast<DWORD>(std::llround(seconds * 1000));
}

class FrameTimerRules : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        fakeFrequency = GetParam() ? kRate : 0;
        SetNow(5.0);
        SetFrameTimerClock(&kFakeClock);
    }
    void TearDown() override { SetFrameTimerClock(nullptr); }
    DoublePrecision precision;   // the checks' own sums too, after a test made a device
    double Tenth() const { return GetParam() ? (kRate / 10) / double(kRate) : double(0.1f); }
};

}  // namespace

TEST_P(FrameTimerRules, ResetRestartsTheCountAndAdvanceMovesOnlyAFrozenTimer) {
    EXPECT_EQ(FrameTimer(7), -1.0);
    EXPECT_EQ(FrameTimer(TIMER_RESET), 0.0);
    FrameTimer(TIMER_ADVANCE);  // running: nothing happens
    SetNow(5.25);
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 0.25, 1e-6);
    FrameTimer(TIMER_STOP);
    const double frozen = FrameTimer(TIMER_GETAPPTIME);
    for (int i = 0; i < 3; ++i) FrameTimer(TIMER_ADVANCE);
    SetNow(9.0);
    EXPECT_DOUBLE_EQ(FrameTimer(TIMER_GETAPPTIME) - frozen, 3 * Tenth());
    EXPECT_DOUBLE_EQ(FrameTimer(TIMER_GETELAPSEDTIME), 3 * Tenth());
}

INSTANTIATE_TEST_SUITE_P(BothClocks, FrameTimerRules, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "Counter" : "Milliseconds";
                         });

TEST(FrameTimerMilliseconds, TimeRunsOnAcrossTheTimerWrap) {
    const FrameTimerClock clock = {NoCounter, FakeCounter, FakeMilliseconds};
    fakeMilliseconds = 0xFFFFFF00u;
    SetFrameTimerClock(&clock);
    FrameTimer(TIMER_START);
    fakeMilliseconds = 0x100;
    EXPECT_NEAR(FrameTimer(TIMER_GETELAPSEDTIME), 0.512, 1e-9);
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 4294967.552, 1e-6);
    SetFrameTimerClock(nullptr);
}
