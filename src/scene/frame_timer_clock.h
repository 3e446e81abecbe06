// The clocks the frame timer reads, as one replaceable set of entry points.
//
// The program always uses the platform's: the performance counter and, where there is none,
// the multimedia millisecond timer. Tests put in clocks of their own (a missing counter, a
// frozen or stepped clock) through SetFrameTimerClock.
#pragma once

#include <windows.h>

struct FrameTimerClock {
    BOOL (WINAPI* queryFrequency)(LARGE_INTEGER* frequency);  // QueryPerformanceFrequency
    BOOL (WINAPI* queryCounter)(LARGE_INTEGER* count);        // QueryPerformanceCounter
    DWORD (WINAPI* readMilliseconds)();                        // timeGetTime
};

// Makes the timer read `clock` (nullptr: the platform's clocks again) and returns the timer
// to its state at program start, so its next command probes for the counter afresh.
void SetFrameTimerClock(const FrameTimerClock* clock);
