// Replacement of the global operator new and delete that counts every allocation and
// tracks the live and peak bytes (see allocation_counter.h). Each block carries its size
// in a 16-byte header in front of it; memory comes from malloc and goes back to free.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

volatile long allocationCount = 0;
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;
const std::size_t kHeader = 16;

void* Allocate(std::size_t size) {
    ++allocationCount;
    void* block = std::malloc(size + kHeader);
    if (!block) return nullptr;
    *static_cast<std::size_t*>(block) = size;
    liveBytes += size;
    if (liveBytes > peakBytes) peakBytes = liveBytes;
    return static_cast<char*>(block) + kHeader;
}

void Free(void* p) {
    if (!p) return;
    void* block = static_cast<char*>(p) - kHeader;
    liveBytes -= *static_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

long AllocationCount() { return allocationCount; }
std::size_t LiveBytes() { return liveBytes; }
std::size_t PeakBytes() { return peakBytes; }
void ResetPeakBytes() { peakBytes = liveBytes; }

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { Free(p); }
void operator delete[](void* p) noexcept { Free(p); }
void operator delete(void* p, std::size_t) noexcept { Free(p); }
void operator delete[](void* p, std::size_t) noexcept { Free(p); }
