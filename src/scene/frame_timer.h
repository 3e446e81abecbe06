// FrameTimer: the program's one clock, queried by command number.
//
// Measures with the high-resolution performance counter when there is one, else with the
// multimedia millisecond timer. Process-wide state; one thread uses it.
#pragma once

enum FrameTimerCommand : int {
    TIMER_RESET = 0,
    TIMER_START = 1,
    TIMER_STOP = 2,
    TIMER_ADVANCE = 3,
    TIMER_GETABSOLUTETIME = 4,
    TIMER_GETAPPTIME = 5,
    TIMER_GETELAPSEDTIME = 6,
};

// Seconds for the three time queries, 0.0 for the four commands, -1.0 for any other number.
double FrameTimer(int command);
