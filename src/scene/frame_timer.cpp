// The frame timer: the program's one clock, its process-wide state and the seven commands.
//
// With the performance counter every value is kept in counter ticks; without one, in
// seconds read from the multimedia timer. The timer runs from program start; stop freezes
// it at the stop time (advance moves the frozen time on by a tenth of a second), start lets
// it run again with the stopped interval left out of application time.
#include "scene/frame_timer.h"

#include <windows.h>
#include <mmsystem.h>

#include "gfxutil/double_precision.h"
#include "scene/frame_timer_clock.h"

namespace {

const FrameTimerClock kPlatformClock = {
    ::QueryPerformanceFrequency, ::QueryPerformanceCounter, ::timeGetTime};

// The marks of one clock, in that clock's own unit (counter ticks or seconds).
template <class T>
struct ClockMarks {
    T stop = 0;          // frozen at this value; 0 = running
    T lastElapsed = 0;   // previous elapsed-time query, reset, start or stop
    T base = 0;          // application time counts from here
};

struct FrameTimerState {
    const FrameTimerClock* clock = &kPlatformClock;
    bool initialized = false;        // the counter has been probed
    bool usesCounter = false;        // the counter is there and has a usable frequency
    bool stopped = false;            // stopped by the stop command
    LONGLONG ticksPerSecond = 0;
    ClockMarks<LONGLONG> ticks;      // with the counter
    ClockMarks<double> seconds;      // without it, from the multimedia timer
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

// One command on one clock: `now` and `tenth` (a tenth of a second) in the clock's unit,
// `perSecond` its units per second.
template <class T>
double RunCommand(ClockMarks<T>& marks, int command, T now, double perSecond, T tenth) {
    switch (command) {
    case TIMER_RESET:
        marks.base = marks.lastElapsed = now;
        marks.stop = 0;
        state.stopped = false;
        return 0.0;
    case TIMER_START:
        if (state.stopped) marks.base += now - marks.stop;
        marks.stop = 0;
        marks.lastElapsed = now;
        state.stopped = false;
        return 0.0;
    case TIMER_STOP:
        marks.stop = marks.lastElapsed = now;
        state.stopped = true;
        return 0.0;
    case TIMER_ADVANCE:
        // Only a frozen timer moves on: advancing a running one would freeze it near the
        // clock's origin, throwing application time back by hours.
        if (marks.stop != 0) marks.stop += tenth;
        return 0.0;
    case TIMER_GETABSOLUTETIME:
        return static_cast<double>(now) / perSecond;
    case TIMER_GETAPPTIME:
        return static_cast<double>(now - marks.base) / perSecond;
    default: {  // TIMER_GETELAPSEDTIME
        const double elapsed = static_cast<double>(now - marks.lastElapsed) / perSecond;
        marks.lastElapsed = now;
        return elapsed;
    }
    }
}

double CounterCommand(int command) {
    LONGLONG now = state.ticks.stop;
    if (!ReadsFrozenTime(command, state.ticks.stop != 0)) {
        LARGE_INTEGER count = {};
        state.clock->queryCounter(&count);
        now = count.QuadPart;
    }
    return RunCommand(state.ticks, command, now, static_cast<double>(state.ticksPerSecond),
                      state.ticksPerSecond / 10);
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
    double now = state.seconds.stop;
    if (!ReadsFrozenTime(command, state.seconds.stop != 0.0)) now = MillisecondSeconds();
    // The advance step: the single-precision 0.1 widened to double.
    return RunCommand(state.seconds, command, now, 1.0, static_cast<double>(0.1f));
}

}  // namespace

double FrameTimer(int command) {
    const DoublePrecision precision;   // seconds of uptime need every bit of a double
    if (!state.initialized) Probe();
    if (command < TIMER_RESET || command > TIMER_GETELAPSEDTIME) return -1.0;
    return state.usesCounter ? CounterCommand(command) : MillisecondCommand(command);
}

void SetFrameTimerClock(const FrameTimerClock* clock) {
    state = FrameTimerState();
    if (clock) state.clock = clock;
}
