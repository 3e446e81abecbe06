// The frame timer's rules, run on both of its clocks (the performance counter and the
// millisecond timer) through a scripted clock, then once on each real platform clock.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cmath>

#include "scene/frame_timer.h"
#include "scene/frame_timer_clock.h"

namespace {

// The scripted clock: a counter at the ACPI timer's odd rate (a tenth of it does not come
// out even) and the millisecond timer; frequency 0 means "no counter".
LONGLONG fakeFrequency = 0;
LONGLONG fakeCounter = 0;
DWORD fakeMilliseconds = 0;

BOOL WINAPI FakeFrequency(LARGE_INTEGER* f) { f->QuadPart = fakeFrequency; return fakeFrequency != 0; }
BOOL WINAPI FakeCounter(LARGE_INTEGER* c) { c->QuadPart = fakeCounter; return TRUE; }
DWORD WINAPI FakeMilliseconds() { return fakeMilliseconds; }
BOOL WINAPI NoCounter(LARGE_INTEGER*) { return FALSE; }

const FrameTimerClock kFakeClock = {FakeFrequency, FakeCounter, FakeMilliseconds};
const LONGLONG kRate = 3579545;

class FrameTimerRules : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        fakeFrequency = GetParam() ? kRate : 0;
        SetNow(5.0);
        SetFrameTimerClock(&kFakeClock);
    }
    void TearDown() override { SetFrameTimerClock(nullptr); }
    static void SetNow(double seconds) {
        fakeCounter = std::llround(seconds * kRate);
        fakeMilliseconds = static_cast<DWORD>(std::llround(seconds * 1000));
    }
    // A tenth of a second as advance counts it on this clock.
    double Tenth() const { return GetParam() ? (kRate / 10) / double(kRate) : double(0.1f); }
};

}  // namespace

TEST_P(FrameTimerRules, StoppedIntervalIsLeftOutOfApplicationTime) {
    FrameTimer(TIMER_START);
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 5.0, 1e-6);  // counts from the clock's origin
    SetNow(6.0);
    FrameTimer(TIMER_STOP);
    SetNow(7.0);
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 6.0, 1e-6);
    EXPECT_EQ(FrameTimer(TIMER_GETELAPSEDTIME), 0.0);
    EXPECT_NEAR(FrameTimer(TIMER_GETABSOLUTETIME), 7.0, 1e-6);  // always the live clock
    FrameTimer(TIMER_START);
    SetNow(7.5);
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 6.5, 1e-6);
    EXPECT_NEAR(FrameTimer(TIMER_GETELAPSEDTIME), 0.5, 1e-6);  // counts from the start
    SetNow(7.75);
    EXPECT_NEAR(FrameTimer(TIMER_GETELAPSEDTIME), 0.25, 1e-6);
}

TEST_P(FrameTimerRules, AdvanceMovesOnlyAFrozenTimer) {
    FrameTimer(TIMER_ADVANCE);  // running: nothing happens
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 5.0, 1e-6);
    FrameTimer(TIMER_STOP);
    const double frozen = FrameTimer(TIMER_GETAPPTIME);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(FrameTimer(TIMER_ADVANCE), 0.0);
    SetNow(9.0);
    EXPECT_DOUBLE_EQ(FrameTimer(TIMER_GETAPPTIME) - frozen, 3 * Tenth());
    EXPECT_DOUBLE_EQ(FrameTimer(TIMER_GETELAPSEDTIME), 3 * Tenth());
}

TEST_P(FrameTimerRules, ResetRestartsApplicationTimeAndOtherNumbersAreRefused) {
    SetNow(8.0);
    EXPECT_EQ(FrameTimer(TIMER_RESET), 0.0);
    EXPECT_EQ(FrameTimer(7), -1.0);
    EXPECT_EQ(FrameTimer(-1), -1.0);
    SetNow(8.25);
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME), 0.25, 1e-6);
    EXPECT_NEAR(FrameTimer(TIMER_GETELAPSEDTIME), 0.25, 1e-6);
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
    const double before = FrameTimer(TIMER_GETAPPTIME);
    fakeMilliseconds = 0x100;
    EXPECT_NEAR(FrameTimer(TIMER_GETAPPTIME) - before, 0.512, 1e-9);
    EXPECT_NEAR(FrameTimer(TIMER_GETELAPSEDTIME), 0.512, 1e-9);
    SetFrameTimerClock(nullptr);
}

// The platform's own clocks: the counter, then the millisecond timer with no counter.
TEST(FrameTimerPlatform, BothRealClocksMeasureASleep) {
    const FrameTimerClock noCounter = {NoCounter, ::QueryPerformanceCounter, ::timeGetTime};
    const FrameTimerClock* clocks[] = {nullptr, &noCounter};
    for (const FrameTimerClock* clock : clocks) {
        SetFrameTimerClock(clock);
        FrameTimer(TIMER_START);
        const double start = FrameTimer(TIMER_GETAPPTIME);
        ::Sleep(60);
        const double slept = FrameTimer(TIMER_GETAPPTIME) - start;
        EXPECT_GT(slept, 0.04);
        EXPECT_LT(slept, 2.0);
        EXPECT_NEAR(FrameTimer(TIMER_GETELAPSEDTIME), slept, 0.02);
    }
    SetFrameTimerClock(nullptr);
}
