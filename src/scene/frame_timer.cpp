// The frame timer: the program's one clock, its process-wide state and the seven commands.
//
// With the performance counter every value is kept in counter ticks; without one, in
// seconds read from the multimedia timer. The timer runs from program start; stop freezes
// it at the stop time (advance moves the frozen time on by a tenth of a second), start lets
// it run again with the stopped interval left out of application time.
#include "scene/frame_timer.h"

#include <windows.h>
#include <mmsystem.h>

#include "scene/frame_timer_clock.h"

namespace {

const FrameTimerClock kPlatformClock = {
    ::QueryPerformanceFrequency, ::QueryPerformanceCounter, ::timeGetTime};

struct FrameTimerState {
    const FrameTimerClock* clock = &kPlatformClock;
    bool initialized = false;        // the counter has been probed
    bool usesCounter = false;        // the counter is there and has a usable frequency
    bool stopped = false;            // stopped by the stop command
    LONGLONG ticksPerSecond = 0;
    LONGLONG stopTicks = 0;          // frozen at this counter value; 0 = running
    LONGLONG lastElapsedTicks = 0;   // previous elapsed-time query, reset, start or stop
    LONGLONG baseTicks = 0;          // application time counts from here
    double stopSeconds = 0.0;        // the same three without the counter, in seconds
    double lastElapsedSeconds = 0.0;
    double baseSeconds = 0.0;
    DWORD lastMilliseconds = 0;      // last multimedia timer reading, to see it wrap
    LONGLONG wrappedMilliseconds = 0;  // 2^32 for every wrap seen so far
};

FrameTimerState state;

void Probe() {
    LARGE_INTEGER frequency = {};
    state.usesCounter = state.clock->queryFrequency(&frequency) && frequency.QuadPart > 0;
    if (state.usesCounter) state.ticksPerSecond = frequency.QuadPart;
    state.initialized = true;
}

// Frozen time for every command but start and absolute time, which read the live clock.
bool ReadsFrozenTime(int command, bool frozen) {
    return frozen && command != TIMER_START && command != TIMER_GETABSOLUTETIME;
}

double CounterCommand(int command) {
    LONGLONG now = state.stopTicks;
    if (!ReadsFrozenTime(command, state.stopTicks != 0)) {
        LARGE_INTEGER count = {};
        state.clock->queryCounter(&count);
        now = count.QuadPart;
    }
    const double ticksPerSecond = static_cast<double>(state.ticksPerSecond);
    switch (command) {
    case TIMER_RESET:
        state.baseTicks = state.lastElapsedTicks = now;
        state.stopTicks = 0;
        state.stopped = false;
        return 0.0;
    case TIMER_START:
        if (state.stopped) state.baseTicks += now - state.stopTicks;
        state.stopTicks = 0;
        state.lastElapsedTicks = now;
        state.stopped = false;
        return 0.0;
    case TIMER_STOP:
        state.stopTicks = state.lastElapsedTicks = now;
        state.stopped = true;
        return 0.0;
    case TIMER_ADVANCE:
        // Only a frozen timer moves on: advancing a running one would freeze it near the
        // counter's origin, throwing application time back by hours.
        if (state.stopTicks != 0) state.stopTicks += state.ticksPerSecond / 10;
        return 0.0;
    case TIMER_GETABSOLUTETIME:
        return static_cast<double>(now) / ticksPerSecond;
    case TIMER_GETAPPTIME:
        return static_cast<double>(now - state.baseTicks) / ticksPerSecond;
    default: {  // TIMER_GETELAPSEDTIME
        const double elapsed = static_cast<double>(now - state.lastElapsedTicks) / ticksPerSecond;
        state.lastElapsedTicks = now;
        return elapsed;
    }
    }
}

// The multimedia timer counts milliseconds in 32 bits and wraps after 49.7 days; the
// wraps are counted here so that time never runs backwards.
double MillisecondSeconds() {
    const DWORD milliseconds = state.clock->readMilliseconds();
    if (milliseconds < state.lastMilliseconds) state.wrappedMilliseconds += 0x100000000LL;
    state.lastMilliseconds = milliseconds;
    return static_cast<double>(state.wrappedMilliseconds + milliseconds) * 0.001;
}

double MillisecondCommand(int command) {
    double now = state.stopSeconds;
    if (!ReadsFrozenTime(command, state.stopSeconds != 0.0)) now = MillisecondSeconds();
    switch (command) {
    case TIMER_RESET:
        state.baseSeconds = state.lastElapsedSeconds = now;
        state.stopSeconds = 0.0;
        state.stopped = false;
        return 0.0;
    case TIMER_START:
        if (state.stopped) state.baseSeconds += now - state.stopSeconds;
        state.stopSeconds = 0.0;
        state.lastElapsedSeconds = now;
        state.stopped = false;
        return 0.0;
    case TIMER_STOP:
        state.stopSeconds = state.lastElapsedSeconds = now;
        state.stopped = true;
        return 0.0;
    case TIMER_ADVANCE:
        if (state.stopSeconds != 0.0) state.stopSeconds += static_cast<double>(0.1f);
        return 0.0;
    case TIMER_GETABSOLUTETIME:
        return now;
    case TIMER_GETAPPTIME:
        return now - state.baseSeconds;
    default: {  // TIMER_GETELAPSEDTIME
        const double elapsed = now - state.lastElapsedSeconds;
        state.lastElapsedSeconds = now;
        return elapsed;
    }
    }
}

}  // namespace

double FrameTimer(int command) {
    if (!state.initialized) Probe();
    if (command < TIMER_RESET || command > TIMER_GETELAPSEDTIME) return -1.0;
    return state.usesCounter ? CounterCommand(command) : MillisecondCommand(command);
}

void SetFrameTimerClock(const FrameTimerClock* clock) {
    state = FrameTimerState();
    if (clock) state.clock = clock;
}
