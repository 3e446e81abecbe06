// Weight lists of the triangle filter, one per axis.
//
// Source pixel i is a tent rising linearly from 0 at source position i - 0.5 to 1 at
// i + 0.5 and falling back to 0 at i + 1.5. Its weight on destination pixel j is the
// integral of the tent over [j, j + 1) in destination units, worked out in two halves
// (rising from f = i - 0.5, falling from f = i + 0.5); each half is linear, so the value at
// the middle of an overlap times the overlap's length is exact. Neighbouring tents add up to
// 1 everywhere, so the weights on every destination pixel sum to 1.
#include <cmath>

#include "gfxutil/triangle_filter.h"

namespace gfx {
namespace {

// Entries below this are dropped: they cannot change an 8-bit result.
constexpr float kSmallestWeight = 0.00001f;

}  // namespace

struct AxisWeights::Half {
    float f;        // the half's start in source units
    bool falling;
};

HRESULT AxisWeights::Build(uint32_t srcSize, uint32_t dstSize, bool mirror) {
    srcSize_ = srcSize;
    dstSize_ = dstSize;
    mirror_ = mirror;
    scale_ = float(dstSize) / float(srcSize);
    count_ = 0;
    // Each half spans scale_ destination units, so it touches at most ceil(scale_) + 1
    // destination pixels; one more for rounding.
    uint64_t perHalf = uint64_t(dstSize / srcSize) + 3;
    if (!entries_.Allocate(uint64_t(srcSize) * 2 * perHalf) ||
        !offsets_.Allocate(uint64_t(srcSize) + 1) || !slotOf_.Allocate(dstSize)) {
        return E_OUTOFMEMORY;
    }
    for (uint32_t j = 0; j < dstSize; ++j) slotOf_[j] = -1;
    for (uint32_t i = 0; i < srcSize; ++i) {
        offsets_[i] = uint32_t(count_);
        AddHalf({float(i) - 0.5f, false});
        AddHalf({float(i) + 0.5f, true});
        FinishSource(i);
    }
    offsets_[srcSize] = uint32_t(count_);
    return S_OK;
}

void AxisWeights::AddHalf(const Half& half) {
    const float b = scale_;
    const float size = float(dstSize_);
    float start = half.f * b;
    float end = start + b;
    if (mirror_) {
        start = std::fmax(start, 0.0f);
        end = std::fmin(end, size);
    }
    for (int64_t j = int64_t(std::floor(start)); float(j) < end; ++j) {
        float w = std::fmax(float(j), start);
        float e = std::fmin(float(j + 1), end);
        float B = ((w + e) * 0.5f / b) - half.f;
        if (mirror_ && half.f < 0.0f) B = 1.0f;
        if (mirror_ && half.f + 1.0f >= float(srcSize_)) B = 0.0f;
        float contribution = (e - w) * (half.falling ? 1.0f - B : B);
        int64_t target = j % int64_t(dstSize_);
        if (target < 0) target += dstSize_;
        if (count_ >= entries_.Count()) return;   // cannot happen; keeps writes in bounds
        int32_t& slot = slotOf_[size_t(target)];
        if (slot >= 0) {
            entries_[size_t(slot)].weight += contribution;
        } else {
            slot = int32_t(count_);
            entries_[size_t(count_++)] = {uint32_t(target), contribution};
        }
    }
}

// Forgets the current source's destination slots and drops its negligible entries.
void AxisWeights::FinishSource(uint32_t source) {
    uint64_t kept = offsets_[source];
    for (uint64_t k = offsets_[source]; k < count_; ++k) {
        AxisWeight entry = entries_[size_t(k)];
        slotOf_[entry.target] = -1;
        if (entry.weight > kSmallestWeight) entries_[size_t(kept++)] = entry;
    }
    count_ = kept;
}

}  // namespace gfx
