// Benchmark: the cost of one AdvanceScene, and proof that it allocates nothing.
//
// Times batches of calls with the performance counter and prints the median nanoseconds
// per call for each camera path. Counts every C++ allocation (allocation_counter.cpp)
// and every block in use on the process's heaps before and after a long run.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "allocation_counter.h"
#include "scene/sky_scene.h"

namespace {

const int kBatches = 301;
const int kCallsPerBatch = 2000;

// Blocks in use on every heap of the process.
long HeapBlocksInUse() {
    HANDLE heaps[64];
    const DWORD count = std::min<DWORD>(::GetProcessHeaps(64, heaps), 64);
    long blocks = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!::HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry = {};
        while (::HeapWalk(heaps[i], &entry)) {
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++blocks;
        }
        ::HeapUnlock(heaps[i]);
    }
    return blocks;
}

// Median nanoseconds per AdvanceScene over kBatches batches.
double MedianNanoseconds(SkyScene* scene, std::vector<double>* batchTimes) {
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    for (int b = 0; b < kBatches; ++b) {
        ::QueryPerformanceCounter(&start);
        for (int i = 0; i < kCallsPerBatch; ++i) {
            scene->time += 0.016f;
            scene->AdvanceScene();
        }
        ::QueryPerformanceCounter(&end);
        (*batchTimes)[b] = double(end.QuadPart - start.QuadPart) * 1e9 /
                           double(frequency.QuadPart) / kCallsPerBatch;
    }
    std::sort(batchTimes->begin(), batchTimes->end());
    return (*batchTimes)[kBatches / 2];
}

}  // namespace

int main() {
    SkyScene scene;
    scene.cubeAnimation = 1;
    std::vector<double> batchTimes(kBatches);
    static const char* const kRuns[] = {"Flying", "Sinusoid", "Circular", "Flying, t = 1e6 s"};
    static const DWORD kPaths[] = {0, 1, 2, 0};
    static const float kStartTimes[] = {1000.0f, 1000.0f, 1000.0f, 1e6f};
    double medians[4], fastest[4], slowest[4];

    // Nothing is printed while counting: the console's own buffers would show as blocks.
    const long blocksBefore = HeapBlocksInUse();
    const long newsBefore = AllocationCount();
    for (int run = 0; run < 4; ++run) {
        scene.cameraPath = kPaths[run];
        scene.time = kStartTimes[run];
        medians[run] = MedianNanoseconds(&scene, &batchTimes);
        fastest[run] = batchTimes.front();
        slowest[run] = batchTimes.back();
    }
    const long news = AllocationCount() - newsBefore;
    const long blocksAfter = HeapBlocksInUse();

    for (int run = 0; run < 4; ++run) {
        std::printf("AdvanceScene, %-17s: median %6.1f ns per call (fastest batch %.1f, slowest %.1f)\n",
                    kRuns[run], medians[run], fastest[run], slowest[run]);
    }
    std::printf("%d batches of %d calls per run\n", kBatches, kCallsPerBatch);
    std::printf("operator new calls during %ld calls: %ld\n", 4L * kBatches * kCallsPerBatch, news);
    std::printf("heap blocks in use: %ld before, %ld after\n", blocksBefore, blocksAfter);
    return 0;
}
