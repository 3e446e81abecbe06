// Counting C++ allocations in a benchmark: linking allocation_counter.cpp replaces the
// global operator new and delete, so a benchmark can show that a loop allocates nothing
// and how much memory an operation held at most.
#pragma once

#include <cstddef>

// Allocations through any form of operator new since the program started.
long AllocationCount();
// Bytes allocated and not yet freed.
std::size_t LiveBytes();
// The most bytes live at once since the last ResetPeakBytes.
std::size_t PeakBytes();
void ResetPeakBytes();
