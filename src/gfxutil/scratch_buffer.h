// Size limits of the surface loader and the one kind of working memory it uses.
//
// Every size the loader computes from outside input (bitmap headers, rectangles, pitches)
// is worked out in 64-bit arithmetic and checked against the limits below before anything
// is allocated or addressed. ScratchBuffer owns one heap block for the length of one load
// operation; it never throws: a failed allocation is reported to the caller, which turns it
// into E_OUTOFMEMORY.
#pragma once

#include <cstdint>
#include <new>

namespace gfx {

// The longest side of an image or a region the loader works on. Direct3D 8 surfaces are far
// smaller; anything beyond this is treated as malformed input rather than allocated.
constexpr int64_t kMaxImageSide = 16384;

// The largest decoded pixel buffer the bitmap reader allocates (a 16384 x 4096 8-bit image).
constexpr uint64_t kMaxImageBytes = uint64_t(64) << 20;

template <class T>
class ScratchBuffer {
public:
    ScratchBuffer() = default;
    ~ScratchBuffer() { Free(); }
    ScratchBuffer(const ScratchBuffer&) = delete;
    ScratchBuffer& operator=(const ScratchBuffer&) = delete;

    // Allocates room for count elements (uninitialised); false when the size is beyond
    // what the loader accepts or the heap refuses it.
    bool Allocate(uint64_t count) {
        Free();
        if (count == 0 || count > (uint64_t(1) << 31) / sizeof(T)) return false;
        data_ = static_cast<T*>(::operator new(size_t(count) * sizeof(T), std::nothrow));
        count_ = data_ ? size_t(count) : 0;
        return data_ != nullptr;
    }
    void Free() {
        ::operator delete(data_);
        data_ = nullptr;
        count_ = 0;
    }
    T* Data() const { return data_; }
    size_t Count() const { return count_; }
    T& operator[](size_t i) const { return data_[i]; }

private:
    T* data_ = nullptr;
    size_t count_ = 0;
};

}  // namespace gfx
